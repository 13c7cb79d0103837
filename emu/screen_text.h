#pragma once

#include <QString>

class VirtualDisplay;

// The display as text, for a test suite to compare: each row of the screen at its full width, one per
// line; a blank line; "cursor ROW,COLUMN" counted from 1 ("cursor none" on the KD-426, whose line
// commands have no cursor). The KD-426 adds a blank line and the lines printed on its receipt strip.
QString screenText(VirtualDisplay& display);
