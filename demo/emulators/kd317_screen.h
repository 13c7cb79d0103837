#pragma once

#include "widgets/vfd_frame.h"

#include <QtGlobal>

// What the KD-317 keeps between commands: its characters, its cursor, the modes the commands set, its
// clock and its self-test. The commands (sim/kd317_commands.h) change it; Kd317Display shows it.
struct Kd317Screen
{
    static constexpr int kRows = 2;
    static constexpr int kColumns = 20;

    enum class WriteMode { Overwrite, VerticalScroll, HorizontalScroll };

    VfdGrid grid{kRows, kColumns};
    int row = 0;
    int column = 0;
    // The cursor stands past the last column: the next character scrolls first.
    bool pastEnd = false;
    bool cursorOn = false;
    WriteMode mode = WriteMode::Overwrite;
    int brightness = 4;
    int blink = 0; // US E n: lit n times 50 ms, then as long dark; 0 steady
    qint64 blinkSince = 0;
    bool reverse = false;
    int codeTable = 0;
    int internationalSet = 0;
    bool timeShown = false;
    int timeMinutes = 0; // the time of day US T set, in minutes since midnight
    qint64 timeSince = 0;
    bool selfTest = false;
    qint64 selfTestSince = 0;

    // The state at power-on, as after ESC @ (sim/kd317_commands.cpp). The clock keeps its time, which
    // US U shows again.
    void initialize();
};
