// vfddemo's emulated KD-138 on any bytes, arriving in pieces: one row of twenty characters, the
// cursor on it, and the same screen whether the pieces come whole or byte by byte.
#include "demo/emulators/kd138_display.h"
#include "demo/emulators/sim_log.h"
#include "fuzz/fuzz_line_chunks.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<LinePiece> pieces = linePieces(data, size);
    SimLog log;
    SimLog bytewiseLog;
    Kd138Display whole(log);
    Kd138Display bytewise(bytewiseLog);
    const bool compare = shortEnoughToCompare(pieces, Kd138Display::kMaxLineBytes);
    for (const LinePiece& piece : pieces) {
        whole.feed(piece.bytes);
        for (const char c : piece.bytes)
            bytewise.feed(QByteArray(1, c));
        const VfdFrame frame = whole.frame();
        require(frame.grid.rows() == 1 && frame.grid.columns() == Kd138Display::kColumns);
        require(whole.cursorColumn() >= 0 && whole.cursorColumn() <= Kd138Display::kColumns);
        require(whole.text().size() >= Kd138Display::kColumns);
        require(log.entries().size() <= SimLog::kCapacity);
        if (compare)
            require(whole.text() == bytewise.text() && whole.cursorColumn() == bytewise.cursorColumn());
    }
    whole.powerOn();
    require(whole.text().trimmed().isEmpty() && whole.cursorColumn() == 0);
    return 0;
}
