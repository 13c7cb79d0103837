#include "windows/four_line_port_window.h"

#include "windows/navigator.h"

FourLinePortWindow::FourLinePortWindow(Navigator& navigator) : PortSelectionWindow(navigator, comOptions(5))
{
}

void FourLinePortWindow::enterClicked()
{
    navigator_.showKd426();
}

void FourLinePortWindow::cancelClicked()
{
    navigator_.endProgram();
}
