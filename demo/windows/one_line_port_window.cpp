#include "windows/one_line_port_window.h"

#include "windows/navigator.h"

OneLinePortWindow::OneLinePortWindow(Navigator& navigator) : PortSelectionWindow(navigator, comOptions(10)) {}

void OneLinePortWindow::enterClicked()
{
    navigator_.showKd138();
}

// Back to the launcher; the port chosen here stays in force.
void OneLinePortWindow::cancelClicked()
{
    navigator_.showLauncher();
}
