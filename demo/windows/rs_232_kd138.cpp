#include "windows/rs_232_kd138.h"

#include "navigator.h"

RS_232_KD138::RS_232_KD138(Navigator& navigator) : PortSelectionWindow(navigator, ComOptions(10)) {}

void RS_232_KD138::enterClicked()
{
    navigator_.showKd138();
}

// Back to the launcher; the port chosen here stays in force.
void RS_232_KD138::cancelClicked()
{
    navigator_.showLauncher();
}
