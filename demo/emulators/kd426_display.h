#pragma once

#include "demo/emulators/receipt_strip.h"
#include "widgets/vfd_frame.h"

#include <QByteArray>
#include <array>

class Pacer;
class SimLog;

// The KD-426: four rows of twenty characters driven by the maker's line commands (ESC q and a letter),
// with a printer behind it that ESC "=1" addresses and ESC "=2" hands back from. What the printer gets
// lands on a ReceiptStrip.
class Kd426Display
{
public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 20;
    // A horizontal line moves one cell to the left this often.
    static constexpr int kMarqueeStepMs = 300;
    // A line command whose CR has not come after this many bytes is dropped.
    static constexpr int kMaxLineBytes = 256;

    enum class TimeSize { None, Small, Double };

    Kd426Display(const Pacer& clock, SimLog& log);

    void feed(const QByteArray& bytes);
    // Switched on: the saved initial display, the display addressed, half-received commands gone.
    void powerOn();

    VfdFrame frame() const;
    QString rowText(int row) const { return frame().grid.rowText(row); }
    const ReceiptStrip& receipt() const { return receipt_; }
    bool printerAddressed() const { return printer_; }
    TimeSize timeSize() const { return timeSize_; }

private:
    // One row's content: its text, whether it runs across the row, and whether it is half of a double line.
    struct Line
    {
        QString text;
        bool marquee = false;
        qint64 since = 0;
        VfdCell::Height height = VfdCell::Single;
    };

    int step(const QByteArray& pending);
    int displayStep(const QByteArray& pending);
    void lineCommand(char letter, const QByteArray& text);
    void setSingle(int row, const QString& text, bool marquee);
    void setDouble(int pair, const QString& text, bool marquee);
    void clear();
    QString lineText(const QByteArray& bytes);
    void unknown(const QString& what, const QByteArray& bytes);

    const Pacer& clock_;
    SimLog& log_;
    ReceiptStrip receipt_;
    QByteArray pending_;
    bool printer_ = false;
    std::array<Line, kRows> lines_;
    std::array<Line, kRows> initial_;
    TimeSize timeSize_ = TimeSize::None;
    int timeSeconds_ = 0;
    qint64 timeSince_ = 0;
};
