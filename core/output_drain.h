#pragma once

#include "core/stop_token.h"

class Pacer;
class SerialLink;

// How a wait for written bytes to leave the port ended.
enum class DrainResult {
    Sent,     // nothing is left to transmit
    TimedOut, // more than the limit passed with bytes still queued
    Halted,   // the stop was requested
};

// Waits until everything written to `link` has left the computer (Qt's buffer and the system's output
// queue), looking once per pacer pass. Gives up once more than `limitSeconds` have passed, or as soon as
// `stop` is requested. A port that is not open has nothing to send.
DrainResult waitForOutputToLeave(SerialLink& link, Pacer& pacer, double limitSeconds,
                                 const StopToken& stop = {});
