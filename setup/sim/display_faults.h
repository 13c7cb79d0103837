#pragma once

// Ways to make a simulated display and its line misbehave, so that every failure of the protocol can be
// shown without hardware.
struct DisplayFaults
{
    // The line and the host's port.
    bool absent = false;            // no display on the line: DSR never rises, nothing is heard
    double dsrDelay = 0.0;          // DSR rises this many seconds after the port opens
    bool outputNeverDrains = false; // the line is stuck: written bytes never leave
    bool portMissing = false;       // open fails: no such port
    bool portBusy = false;          // open fails: in use
    int vanishAfterWrites = -1;     // the adapter is pulled out after this many writes
    int failWrite = -1;             // this write (counted from 1) fails; the ones after it go through
    bool dsrPolled = false;         // the port's driver does not count DSR changes: only looks see them
    bool dsrUnreadable = false;     // the port cannot report DSR at all (a pseudo-terminal)

    // The display.
    int acknowledgeFirst = -1;   // acknowledge only the first N sound frames (-1: all)
    double pulseWidth = 0.2;     // length of the acknowledgement pulse, seconds
    double ackLatency = 0.02;    // from the last byte of a frame to the pulse, seconds
    bool dipSwitch12On = false;  // forced firmware mode: the display starts in setup state
    int dropDsrAfterFrames = -1; // after N acknowledged frames DSR falls for good instead of pulsing
                                 // (-1: never); a power cycle or restart raises it again
};

// The DSR delay of a display whose DSR comes late: past the second a session waits for it after the open.
constexpr double kLateDsrSeconds = 1.5;
