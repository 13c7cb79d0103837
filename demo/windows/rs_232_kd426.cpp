#include "windows/rs_232_kd426.h"

#include "navigator.h"

RS_232_KD426::RS_232_KD426(Navigator& navigator) : PortSelectionWindow(navigator, ComOptions(5)) {}

void RS_232_KD426::enterClicked()
{
    navigator_.showKd426();
}

void RS_232_KD426::cancelClicked()
{
    navigator_.endProgram();
}
