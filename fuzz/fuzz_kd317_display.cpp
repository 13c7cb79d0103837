// vfddemo's emulated KD-317 (ESC/POS) on any bytes, arriving in pieces with time passing between
// them: two rows of twenty characters, the cursor on the screen, brightness 1 to 4, and the same
// screen and state whether the pieces come whole or byte by byte.
#include "core/pacer.h"
#include "demo/emulators/kd317_display.h"
#include "demo/emulators/sim_log.h"
#include "fuzz/fuzz_line_chunks.h"
#include "fuzz/fuzz_require.h"

namespace {

bool sameState(Kd317Display& a, Kd317Display& b)
{
    return a.frame().grid == b.frame().grid && a.cursorRow() == b.cursorRow() &&
           a.cursorColumn() == b.cursorColumn() && a.cursorOn() == b.cursorOn() &&
           a.writeMode() == b.writeMode() && a.brightness() == b.brightness() &&
           a.blinkInterval() == b.blinkInterval() && a.reverse() == b.reverse() &&
           a.codeTable() == b.codeTable() && a.internationalSet() == b.internationalSet() &&
           a.timeShown() == b.timeShown();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<LinePiece> pieces = linePieces(data, size);
    VirtualPacer clock;
    SimLog log;
    SimLog bytewiseLog;
    Kd317Display whole(clock, log);
    Kd317Display bytewise(clock, bytewiseLog);
    for (const LinePiece& piece : pieces) {
        clock.advance(piece.pauseMs);
        whole.feed(piece.bytes);
        for (const char c : piece.bytes)
            bytewise.feed(QByteArray(1, c));
        const VfdFrame frame = whole.frame();
        require(frame.grid.rows() == Kd317Display::kRows && frame.grid.columns() == Kd317Display::kColumns);
        require(frame.brightness >= 1 && frame.brightness <= 4);
        require(frame.cursorRow >= 0 && frame.cursorRow < Kd317Display::kRows);
        require(frame.cursorColumn >= 0 && frame.cursorColumn <= Kd317Display::kColumns);
        require(whole.cursorRow() >= 0 && whole.cursorRow() < Kd317Display::kRows);
        require(whole.cursorColumn() >= 0 && whole.cursorColumn() <= Kd317Display::kColumns);
        require(log.entries().size() <= SimLog::kCapacity);
        require(sameState(whole, bytewise));
    }
    return 0;
}
