#pragma once

#include "widgets/vfd_frame.h"

#include <QByteArray>
#include <QString>

class Pacer;
class SimLog;

// The KD-317: an ESC/POS customer display of two rows of twenty characters. It takes bytes as they come
// off the line, keeps a command that has not arrived whole until its last byte does, and never fails on
// what it does not understand: such bytes are skipped and noted in the log.
class Kd317Display
{
public:
    static constexpr int Rows = 2;
    static constexpr int Columns = 20;
    static constexpr int SelfTestPageMs = 2000;
    static constexpr int SelfTestPages = 3;

    enum class WriteMode { Overwrite, VerticalScroll, HorizontalScroll };

    Kd317Display(const Pacer& clock, SimLog& log);

    void feed(const QByteArray& bytes);
    // The settings text the host opened the line with, which the self-test reports.
    void setLineSettings(const QString& settings) { lineSettings_ = settings; }
    // The state at power-on, as after ESC @.
    void initialize();

    // What the screen shows now: the characters, the clock at the right of the lower row, the
    // self-test page, the blink phase.
    VfdFrame frame();
    QString rowText(int row) { return frame().grid.rowText(row); }

    int cursorRow() const { return row_; }
    int cursorColumn() const { return column_; }
    bool cursorOn() const { return cursorOn_; }
    WriteMode writeMode() const { return mode_; }
    int brightness() const { return brightness_; }
    int blinkInterval() const { return blink_; }
    bool reverse() const { return reverse_; }
    int codeTable() const { return codeTable_; }
    int internationalSet() const { return internationalSet_; }
    bool timeShown() const { return timeShown_; }
    bool selfTestRunning();

private:
    // Runs the command at the front of pending_; returns the bytes it took, 0 when it is not whole yet.
    int step(const QByteArray& pending);
    int escape(const QByteArray& pending);
    int unitSeparator(const QByteArray& pending);
    void control(unsigned char byte);
    void unknown(const QString& what, const QByteArray& bytes);
    void finishSelfTest();
    bool litAt(qint64 now) const;

    // Cursor moves and characters; their behaviour at the edges depends on the write mode.
    void writeCharacter(unsigned char byte);
    void moveRight();
    void moveLeft();
    void moveDown();
    void moveUp();
    void clearScreen();

    const Pacer& clock_;
    SimLog& log_;
    QString lineSettings_ = QStringLiteral("9600,n,8,1");
    QByteArray pending_;
    VfdGrid grid_{Rows, Columns};
    int row_ = 0;
    int column_ = 0;
    // The cursor stands past the last column: the next character scrolls first.
    bool pastEnd_ = false;
    bool cursorOn_ = false;
    WriteMode mode_ = WriteMode::Overwrite;
    int brightness_ = 4;
    int blink_ = 0;
    qint64 blinkSince_ = 0;
    bool reverse_ = false;
    int codeTable_ = 0;
    int internationalSet_ = 0;
    bool timeShown_ = false;
    int timeMinutes_ = 0;
    qint64 timeSince_ = 0;
    bool selfTest_ = false;
    qint64 selfTestSince_ = 0;
    QByteArray heldDuringSelfTest_;
};
