// The KD-317's timed states (blink, clock, self-test) and what it shows.
#include "demo/emulators/kd317_display.h"

#include "demo/emulators/code_table.h"
#include "demo/emulators/international_set.h"
#include "demo/emulators/kd317_commands.h"
#include "demo/emulators/sim_log.h"
#include "demo/model/pacer_time.h"

namespace {

// What arrives while the self-test runs waits in a buffer of the size a display of this kind has;
// more is lost.
constexpr int kHeldCapacity = 4096;

void put(VfdGrid& grid, int row, const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    for (int column = 0; column < grid.columns(); ++column) {
        grid.at(row, column) = VfdCell{column < ucs4.size() ? char32_t(ucs4[column]) : U' '};
    }
}

} // namespace

Kd317Display::Kd317Display(const Pacer& clock, SimLog& log) : clock_(clock), log_(log) {}

void Kd317Display::feed(const QByteArray& bytes)
{
    if (selfTestRunning()) {
        const int room = kHeldCapacity - int(heldDuringSelfTest_.size());
        if (bytes.size() > room) {
            log_.add(QStringLiteral("KD-317"), QStringLiteral("lost while the self-test ran"),
                     bytes.mid(room));
        }
        heldDuringSelfTest_ += bytes.left(room);
        return;
    }
    pending_ += bytes;
    while (!pending_.isEmpty()) {
        if (screen_.selfTest) {
            // The self-test began in the middle of this write: the rest waits for its end.
            const QByteArray rest = pending_;
            pending_.clear();
            feed(rest);
            return;
        }
        const int used = runKd317Command(screen_, pending_, pacerMs(clock_), log_);
        if (used == 0) {
            return;
        }
        pending_.remove(0, used);
    }
}

bool Kd317Display::selfTestRunning()
{
    if (screen_.selfTest &&
        pacerMs(clock_) - screen_.selfTestSince >= qint64(kSelfTestPageMs) * kSelfTestPages) {
        finishSelfTest();
    }
    return screen_.selfTest;
}

// The test ends as a power-on does, and then takes what arrived meanwhile.
void Kd317Display::finishSelfTest()
{
    screen_.selfTest = false;
    screen_.initialize();
    const QByteArray held = heldDuringSelfTest_;
    heldDuringSelfTest_.clear();
    feed(held);
}

bool Kd317Display::litAt(qint64 now) const
{
    if (screen_.blink == 0) {
        return true;
    }
    // 255 keeps the screen dark, as on the ESC/POS displays that give that value a meaning at all.
    if (screen_.blink == 255) {
        return false;
    }
    const qint64 half = qint64(screen_.blink) * 50;
    return ((now - screen_.blinkSince) / half) % 2 == 0;
}

VfdGrid Kd317Display::selfTestPage(qint64 now) const
{
    VfdGrid page(kRows, kColumns);
    const CodeTable* table = findCodeTable(screen_.codeTable);
    switch ((now - screen_.selfTestSince) / kSelfTestPageMs) {
    case 0:
        put(page, 0, QStringLiteral(" KD-317  SELF-TEST"));
        put(page, 1, QStringLiteral("V1.02 ") + lineSettings_.toText());
        break;
    case 1:
        put(page, 0, QStringLiteral("TABLE ") + QString::fromLatin1(table ? table->name : "?"));
        put(page, 1, QStringLiteral("INTL  ") + internationalSetName(screen_.internationalSet));
        break;
    default:
        for (int column = 0; column < kColumns; ++column) {
            page.at(0, column).character = char32_t('A' + column);
            page.at(1, column).character = upperHalfCharacter(screen_.codeTable, 0x80 + column);
        }
        break;
    }
    return page;
}

VfdFrame Kd317Display::frame()
{
    const qint64 now = pacerMs(clock_);
    if (selfTestRunning()) {
        VfdFrame shown(selfTestPage(now));
        shown.brightness = screen_.brightness;
        return shown;
    }
    const VfdGrid& grid = screen_.grid;
    VfdFrame shown(grid);
    if (screen_.timeShown) {
        const int minutes = int((screen_.timeMinutes + (now - screen_.timeSince) / 60000) % (24 * 60));
        put(shown.grid, kRows - 1,
            grid.rowText(kRows - 1).left(kColumns - 5) + QStringLiteral("%1:%2")
                                                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                                             .arg(minutes % 60, 2, 10, QLatin1Char('0')));
        // The characters left of the clock keep their reverse.
        for (int column = 0; column < kColumns - 5; ++column) {
            shown.grid.at(kRows - 1, column).reverse = grid.at(kRows - 1, column).reverse;
        }
    }
    shown.brightness = screen_.brightness;
    shown.lit = litAt(now);
    shown.cursorShown = screen_.cursorOn;
    shown.cursorRow = screen_.row;
    shown.cursorColumn = screen_.column;
    return shown;
}
