#include "demo/emulators/kd426_display.h"

#include "demo/emulators/command_steps.h"
#include "demo/emulators/sim_log.h"
#include "demo/model/pacer_time.h"

#include "core/text_codec.h"
#include <QTime>

namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kCr = 0x0D;

} // namespace

Kd426Display::Kd426Display(const Pacer& clock, SimLog& log) : clock_(clock), log_(log), receipt_(log)
{
    // As it leaves the factory: the model name in double characters over a line about what it is.
    initial_[0] = {QStringLiteral("       KD-426"), false, 0, VfdCell::DoubleTop};
    initial_[1] = {initial_[0].text, false, 0, VfdCell::DoubleBottom};
    initial_[3] = {QStringLiteral("  CUSTOMER DISPLAY"), false, 0, VfdCell::Single};
    powerOn();
}

void Kd426Display::powerOn()
{
    pending_.clear();
    printer_ = false;
    timeSize_ = TimeSize::None;
    lines_ = initial_;
    for (Line& line : lines_) {
        line.since = pacerMs(clock_);
    }
}

void Kd426Display::feed(const QByteArray& bytes)
{
    feedInSteps(pending_, bytes, [this](const QByteArray& pending) { return step(pending); });
}

int Kd426Display::step(const QByteArray& pending)
{
    const bool addressing =
        static_cast<unsigned char>(pending.at(0)) == kEsc && (pending.size() < 2 || pending.at(1) == '=');
    if (addressing) {
        if (pending.size() < 3) {
            return 0;
        }
        const char target = pending.at(2);
        if (target == '1' || target == 1) {
            printer_ = true;
        } else if (target == '2' || target == 2) {
            printer_ = false;
        } else {
            unknown(QStringLiteral("no such device to address"), pending.left(3));
        }
        return 3;
    }
    if (!printer_) {
        return displayStep(pending);
    }
    // Everything up to the next ESC "=" goes through to the printer; an ESC at the very end may be the
    // start of one and waits.
    int end = pending.indexOf("\x1B=");
    if (end < 0) {
        end = pending.endsWith('\x1B') ? int(pending.size()) - 1 : int(pending.size());
    }
    if (end == 0) {
        return 0;
    }
    receipt_.feed(pending.left(end));
    return end;
}

int Kd426Display::displayStep(const QByteArray& pending)
{
    const auto byte = static_cast<unsigned char>(pending.at(0));
    if (byte == kCr) {
        // A CR outside a line command (the one after ESC "=1" when the printer is not there) does nothing.
        return 1;
    }
    if (byte == 0x1F) {
        if (pending.size() < 2) {
            return 0;
        }
        if (pending.at(1) == '\x0D') {
            clear();
        } else {
            unknown(QStringLiteral("unknown US command"), pending.left(2));
        }
        return 2;
    }
    if (byte != kEsc) {
        unknown(QStringLiteral("not a command"), pending.left(1));
        return 1;
    }
    if (pending.size() < 2) {
        return 0;
    }
    if (pending.at(1) == 's') {
        initial_ = lines_;
        return 2;
    }
    if (pending.at(1) != 'q') {
        unknown(QStringLiteral("unknown ESC command"), pending.left(2));
        return 2;
    }
    const int cr = pending.indexOf(char(kCr), 2);
    if (cr < 0) {
        if (pending.size() > kMaxLineBytes) {
            unknown(QStringLiteral("line command without CR"), pending);
            return int(pending.size());
        }
        return 0;
    }
    if (cr == 2) {
        unknown(QStringLiteral("line command without a letter"), pending.left(3));
        return 3;
    }
    lineCommand(pending.at(2), pending.mid(3, cr - 3));
    return cr + 1;
}

void Kd426Display::lineCommand(char letter, const QByteArray& bytes)
{
    const QString text = lineText(bytes);
    if (letter >= 'A' && letter <= 'D') {
        setSingle(letter - 'A', text, false);
    } else if (letter == 'E' || letter == 'F') {
        setDouble(letter - 'E', text, false);
    } else if (letter >= 'G' && letter <= 'J') {
        setSingle(letter - 'G', text, true);
    } else if (letter == 'K' || letter == 'L') {
        setDouble(letter - 'K', text, true);
    } else if (letter == 't' || letter == 'T') {
        const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        if (!time.isValid()) {
            unknown(QStringLiteral("not a time of day"), QByteArray("\x1Bq") + letter + bytes);
            return;
        }
        clear();
        timeSize_ = letter == 't' ? TimeSize::Small : TimeSize::Double;
        timeSeconds_ = time.msecsSinceStartOfDay() / 1000;
        timeSince_ = pacerMs(clock_);
    } else {
        unknown(QStringLiteral("no such line letter"), QByteArray("\x1Bq") + letter);
    }
}

// The demonstration puts SO (0E) before the text of the second double line; the display skips it, as it
// skips any other control code inside a line, noting the others. The KD-426 is the traditional-Chinese
// model: a Big5 byte pair is one character, and a byte of the upper half that starts none is a blank.
QString Kd426Display::lineText(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::optional<QString> pair = TextCodec::decode("Big5", bytes.mid(i, 2));
            const bool character = pair && pair->size() == 1 && pair != QString(QChar::ReplacementCharacter);
            text += character ? *pair : QStringLiteral(" ");
            i += character ? 1 : 0;
        } else if (byte >= 0x20) {
            text += QLatin1Char(c);
        } else if (byte != 0x0E) {
            unknown(QStringLiteral("control code inside a line"), QByteArray(1, c));
        }
    }
    return text;
}

void Kd426Display::setSingle(int row, const QString& text, bool marquee)
{
    timeSize_ = TimeSize::None;
    // Writing over half of a double line takes the other half away too.
    if (lines_[row].height != VfdCell::Single) {
        lines_[row ^ 1] = Line();
    }
    lines_[row] = {text, marquee, pacerMs(clock_), VfdCell::Single};
}

void Kd426Display::setDouble(int pair, const QString& text, bool marquee)
{
    timeSize_ = TimeSize::None;
    lines_[2 * pair] = {text, marquee, pacerMs(clock_), VfdCell::DoubleTop};
    lines_[2 * pair + 1] = {text, marquee, pacerMs(clock_), VfdCell::DoubleBottom};
}

void Kd426Display::clear()
{
    lines_.fill(Line());
    timeSize_ = TimeSize::None;
}

void Kd426Display::unknown(const QString& what, const QByteArray& bytes)
{
    log_.add(QStringLiteral("KD-426"), what, bytes);
}

VfdFrame Kd426Display::frame() const
{
    const qint64 now = pacerMs(clock_);
    VfdGrid grid(kRows, kColumns);
    for (int row = 0; row < kRows; ++row) {
        const Line& line = lines_[row];
        QList<uint> shown = line.text.toUcs4();
        if (line.marquee) {
            // The text comes in at the right edge, crosses the row and starts again once it has left.
            const QList<uint> blank = QString(kColumns, QLatin1Char(' ')).toUcs4();
            const QList<uint> tape = blank + shown;
            const qint64 offset = ((now - line.since) / kMarqueeStepMs) % tape.size();
            shown = (tape + blank).mid(offset, kColumns);
        }
        for (int column = 0; column < kColumns && column < shown.size(); ++column) {
            grid.at(row, column) = VfdCell{char32_t(shown[column]), false, line.height};
        }
        for (int column = int(shown.size()); column < kColumns; ++column) {
            grid.at(row, column).height = line.height;
        }
    }
    if (timeSize_ != TimeSize::None) {
        const int seconds = int((timeSeconds_ + (now - timeSince_) / 1000) % (24 * 3600));
        const QString text =
            QTime::fromMSecsSinceStartOfDay(seconds * 1000).toString(QStringLiteral("HH:mm:ss"));
        const int first = (kColumns - int(text.size())) / 2;
        for (int i = 0; i < text.size(); ++i) {
            const char32_t c = text.at(i).unicode();
            if (timeSize_ == TimeSize::Small) {
                grid.at(1, first + i) = VfdCell{c};
            } else {
                grid.at(1, first + i) = VfdCell{c, false, VfdCell::DoubleTop};
                grid.at(2, first + i) = VfdCell{c, false, VfdCell::DoubleBottom};
            }
        }
    }
    return VfdFrame(grid);
}
