#include "windows/one_line_port_window.h"

#include "windows/window_chain.h"

OneLinePortWindow::OneLinePortWindow(WindowChain& navigator) : PortSelectionWindow(navigator, comOptions(10))
{
}

void OneLinePortWindow::enterClicked()
{
    navigator_.showOneLineDemo();
}

// Back to the launcher; the port chosen here stays in force.
void OneLinePortWindow::cancelClicked()
{
    navigator_.showLauncher();
}
