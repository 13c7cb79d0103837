// The KD-317's command parser, its timed states (blink, clock, self-test) and what it shows.
#include "sim/kd317_display.h"

#include "model/pacer_time.h"
#include "sim/code_table.h"
#include "sim/international_set.h"
#include "sim/sim_log.h"

namespace {

constexpr unsigned char Esc = 0x1B;
constexpr unsigned char Us = 0x1F;
// What arrives while the self-test runs waits in a buffer of the size a display of this kind has;
// more is lost.
constexpr int HeldCapacity = 4096;

unsigned char at(const QByteArray& bytes, int index)
{
    return static_cast<unsigned char>(bytes.at(index));
}

void put(VfdGrid& grid, int row, const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    for (int column = 0; column < grid.columns(); ++column) {
        grid.at(row, column) = VfdCell{column < ucs4.size() ? char32_t(ucs4[column]) : U' '};
    }
}

} // namespace

Kd317Display::Kd317Display(const Pacer& clock, SimLog& log) : clock_(clock), log_(log) {}

void Kd317Display::initialize()
{
    grid_.clear();
    row_ = 0;
    column_ = 0;
    pastEnd_ = false;
    // Off until the host switches it on: the demonstration follows ESC @ with 1F 43 01 for that reason.
    cursorOn_ = false;
    mode_ = WriteMode::Overwrite;
    brightness_ = 4;
    blink_ = 0;
    reverse_ = false;
    codeTable_ = 0;
    internationalSet_ = 0;
    timeShown_ = false;
}

void Kd317Display::feed(const QByteArray& bytes)
{
    if (selfTestRunning()) {
        const int room = HeldCapacity - int(heldDuringSelfTest_.size());
        if (bytes.size() > room) {
            unknown(QStringLiteral("lost while the self-test ran"), bytes.mid(room));
        }
        heldDuringSelfTest_ += bytes.left(room);
        return;
    }
    pending_ += bytes;
    while (!pending_.isEmpty()) {
        if (selfTest_) {
            // The self-test began in the middle of this write: the rest waits for its end.
            const QByteArray rest = pending_;
            pending_.clear();
            feed(rest);
            return;
        }
        const int used = step(pending_);
        if (used == 0) {
            return;
        }
        pending_.remove(0, used);
    }
}

int Kd317Display::step(const QByteArray& pending)
{
    const unsigned char byte = at(pending, 0);
    if (byte == Esc) {
        return escape(pending);
    }
    if (byte == Us) {
        return unitSeparator(pending);
    }
    if (byte >= 0x20) {
        writeCharacter(byte);
    } else {
        control(byte);
    }
    return 1;
}

int Kd317Display::escape(const QByteArray& pending)
{
    if (pending.size() < 2) {
        return 0;
    }
    const unsigned char command = at(pending, 1);
    if (command == '@') {
        initialize();
        return 2;
    }
    if (command != 't' && command != 'R') {
        unknown(QStringLiteral("unknown ESC command"), pending.left(2));
        return 2;
    }
    if (pending.size() < 3) {
        return 0;
    }
    const int n = at(pending, 2);
    if (command == 't') {
        if (findCodeTable(n) != nullptr) {
            codeTable_ = n;
        } else {
            unknown(QStringLiteral("no such code table"), pending.left(3));
        }
    } else if (n < InternationalSetCount) {
        internationalSet_ = n;
    } else {
        unknown(QStringLiteral("no such international set"), pending.left(3));
    }
    return 3;
}

int Kd317Display::unitSeparator(const QByteArray& pending)
{
    if (pending.size() < 2) {
        return 0;
    }
    const unsigned char command = at(pending, 1);
    // The parameter bytes each command takes after its two bytes.
    int parameters = 0;
    switch (command) {
    case 'C':
    case 'X':
    case 'E':
    case 'r':
        parameters = 1;
        break;
    case '$':
    case 'T':
        parameters = 2;
        break;
    default:
        break;
    }
    if (pending.size() < 2 + parameters) {
        return 0;
    }
    const QByteArray whole = pending.left(2 + parameters);
    const int n = parameters > 0 ? at(pending, 2) : 0;
    const int m = parameters > 1 ? at(pending, 3) : 0;
    switch (command) {
    case 0x01:
    case 0x02:
    case 0x03:
        mode_ = command == 0x01   ? WriteMode::Overwrite
                : command == 0x02 ? WriteMode::VerticalScroll
                                  : WriteMode::HorizontalScroll;
        pastEnd_ = false;
        break;
    case 0x0A:
        moveUp();
        break;
    case 0x0D:
        column_ = Columns - 1;
        pastEnd_ = false;
        break;
    case 'B':
        row_ = Rows - 1;
        column_ = 0;
        pastEnd_ = false;
        break;
    case '$':
        if (n >= 1 && n <= Columns && m >= 1 && m <= Rows) {
            column_ = n - 1;
            row_ = m - 1;
            pastEnd_ = false;
        } else {
            unknown(QStringLiteral("cursor position off the screen"), whole);
        }
        break;
    case 'C':
        if (n <= 1) {
            cursorOn_ = n == 1;
        } else {
            unknown(QStringLiteral("cursor display takes 0 or 1"), whole);
        }
        break;
    case 'X':
        if (n >= 1 && n <= 4) {
            brightness_ = n;
        } else {
            unknown(QStringLiteral("brightness takes 1 to 4"), whole);
        }
        break;
    case 'E':
        blink_ = n;
        blinkSince_ = pacerMs(clock_);
        break;
    case 'r':
        if (n <= 1) {
            reverse_ = n == 1;
        } else {
            unknown(QStringLiteral("reverse takes 0 or 1"), whole);
        }
        break;
    case 'T':
        if (n < 24 && m < 60) {
            timeShown_ = true;
            timeMinutes_ = n * 60 + m;
            timeSince_ = pacerMs(clock_);
        } else {
            unknown(QStringLiteral("no such time of day"), whole);
        }
        break;
    case 'U':
        // Shows the clock again from where it stands (from 00:00 when it was never set).
        timeShown_ = true;
        break;
    case '@':
        selfTest_ = true;
        selfTestSince_ = pacerMs(clock_);
        break;
    default:
        unknown(QStringLiteral("unknown US command"), whole);
        break;
    }
    return 2 + parameters;
}

void Kd317Display::control(unsigned char byte)
{
    switch (byte) {
    case 0x00:
        // Filler: the code-table walk puts one before every character.
        break;
    case 0x08:
        moveLeft();
        break;
    case 0x09:
        moveRight();
        break;
    case 0x0A:
        moveDown();
        break;
    case 0x0B:
        row_ = 0;
        column_ = 0;
        pastEnd_ = false;
        break;
    case 0x0C:
        clearScreen();
        break;
    case 0x0D:
        column_ = 0;
        pastEnd_ = false;
        break;
    case 0x18:
        grid_.clearRow(row_);
        column_ = 0;
        pastEnd_ = false;
        break;
    default:
        unknown(QStringLiteral("unknown control code"), QByteArray(1, static_cast<char>(byte)));
        break;
    }
}

void Kd317Display::unknown(const QString& what, const QByteArray& bytes)
{
    log_.add(QStringLiteral("KD-317"), what, bytes);
}

bool Kd317Display::selfTestRunning()
{
    if (selfTest_ && pacerMs(clock_) - selfTestSince_ >= qint64(SelfTestPageMs) * SelfTestPages) {
        finishSelfTest();
    }
    return selfTest_;
}

// The test ends as a power-on does, and then takes what arrived meanwhile.
void Kd317Display::finishSelfTest()
{
    selfTest_ = false;
    initialize();
    const QByteArray held = heldDuringSelfTest_;
    heldDuringSelfTest_.clear();
    feed(held);
}

bool Kd317Display::litAt(qint64 now) const
{
    if (blink_ == 0) {
        return true;
    }
    // 255 keeps the screen dark, as on the ESC/POS displays that give that value a meaning at all.
    if (blink_ == 255) {
        return false;
    }
    const qint64 half = qint64(blink_) * 50;
    return ((now - blinkSince_) / half) % 2 == 0;
}

VfdFrame Kd317Display::frame()
{
    const qint64 now = pacerMs(clock_);
    if (selfTestRunning()) {
        VfdGrid page(Rows, Columns);
        const CodeTable* table = findCodeTable(codeTable_);
        switch ((now - selfTestSince_) / SelfTestPageMs) {
        case 0:
            put(page, 0, QStringLiteral(" KD-317  SELF-TEST"));
            put(page, 1, QStringLiteral("V1.02 ") + lineSettings_.toUpper());
            break;
        case 1:
            put(page, 0, QStringLiteral("TABLE ") + QString::fromLatin1(table ? table->name : "?"));
            put(page, 1, QStringLiteral("INTL  ") + internationalSetName(internationalSet_));
            break;
        default:
            for (int column = 0; column < Columns; ++column) {
                page.at(0, column).character = char32_t('A' + column);
                page.at(1, column).character = upperHalfCharacter(codeTable_, 0x80 + column);
            }
            break;
        }
        VfdFrame shown(page);
        shown.brightness = brightness_;
        return shown;
    }
    VfdFrame shown(grid_);
    if (timeShown_) {
        const int minutes = int((timeMinutes_ + (now - timeSince_) / 60000) % (24 * 60));
        put(shown.grid, Rows - 1,
            grid_.rowText(Rows - 1).left(Columns - 5) + QStringLiteral("%1:%2")
                                                            .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                                            .arg(minutes % 60, 2, 10, QLatin1Char('0')));
        // The characters left of the clock keep their reverse.
        for (int column = 0; column < Columns - 5; ++column) {
            shown.grid.at(Rows - 1, column).reverse = grid_.at(Rows - 1, column).reverse;
        }
    }
    shown.brightness = brightness_;
    shown.lit = litAt(now);
    shown.cursorShown = cursorOn_;
    shown.cursorRow = row_;
    shown.cursorColumn = column_;
    return shown;
}
