#pragma once

#include "demo/emulators/kd317_screen.h"
#include "widgets/vfd_frame.h"

#include "core/line_settings.h"

#include <QByteArray>
#include <QString>

class Pacer;
class SimLog;

// The KD-317: an ESC/POS customer display of two rows of twenty characters. It takes bytes as they come
// off the line, keeps a command that has not arrived whole until its last byte does, and never fails on
// what it does not understand: such bytes are skipped and noted in the log. Its commands are a table
// (sim/kd317_commands.h); here are what it shows, its timed states and its self-test.
class Kd317Display
{
public:
    static constexpr int kRows = Kd317Screen::kRows;
    static constexpr int kColumns = Kd317Screen::kColumns;
    static constexpr int kSelfTestPageMs = 2000;
    static constexpr int kSelfTestPages = 3;

    using WriteMode = Kd317Screen::WriteMode;

    Kd317Display(const Pacer& clock, SimLog& log);

    void feed(const QByteArray& bytes);
    // The line settings the host opened the line with, which the self-test reports.
    void setLineSettings(const LineSettings& settings) { lineSettings_ = settings; }
    // The state at power-on, as after ESC @.
    void initialize() { screen_.initialize(); }

    // What the screen shows now: the characters, the clock at the right of the lower row, the
    // self-test page, the blink phase.
    VfdFrame frame();
    QString rowText(int row) { return frame().grid.rowText(row); }

    int cursorRow() const { return screen_.row; }
    int cursorColumn() const { return screen_.column; }
    bool cursorOn() const { return screen_.cursorOn; }
    WriteMode writeMode() const { return screen_.mode; }
    int brightness() const { return screen_.brightness; }
    int blinkInterval() const { return screen_.blink; }
    bool reverse() const { return screen_.reverse; }
    int codeTable() const { return screen_.codeTable; }
    int internationalSet() const { return screen_.internationalSet; }
    bool timeShown() const { return screen_.timeShown; }
    bool selfTestRunning();

private:
    void finishSelfTest();
    VfdGrid selfTestPage(qint64 now) const;
    bool litAt(qint64 now) const;

    const Pacer& clock_;
    SimLog& log_;
    LineSettings lineSettings_;
    QByteArray pending_;
    Kd317Screen screen_;
    QByteArray heldDuringSelfTest_;
};
