#include "windows/four_line_port_window.h"

#include "windows/window_chain.h"

FourLinePortWindow::FourLinePortWindow(WindowChain& navigator) : PortSelectionWindow(navigator, comOptions(5))
{
}

void FourLinePortWindow::enterClicked()
{
    navigator_.showFourLineDemo();
}

void FourLinePortWindow::cancelClicked()
{
    navigator_.endProgram();
}
