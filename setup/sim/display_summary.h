#pragma once

#include <QString>

class SimulatedDisplay;

// What the simulated display shows and holds, as a few lines of text: the screen in a 2x20 box,
// then the stored general parameters by name, the title page, the DEMO and the firmware.
QString simulatedDisplaySummary(const SimulatedDisplay& display);
// Only the screen, in a 2x20 box.
QString simulatedScreenBox(const SimulatedDisplay& display);
