#pragma once

#include <QString>

// The display acknowledges a frame with a low pulse on DSR. These are the steps of the wait, each
// with its limit in seconds, counted from the moment the step before it was passed.
struct AckStep
{
    const char* condition;
    double limit;
};
inline constexpr AckStep kAckSteps[5] = {
    {"everything written has left the port", 6.0}, {"DSR is high", 6.0},       {"DSR has dropped", 3.0},
    {"DSR stays low for the whole step", 0.05},    {"DSR is high again", 1.0},
};

// The text of the "Display ack. failed" box: "Process." n "( " s "/" d "/" True|False ")".
QString ackFailureText(int step, double waitStart, double stepDeadline, bool dsr);
// A number as the shortest decimal with at most `decimals` digits after the point.
QString shortDecimal(double value, int decimals);
