// vfddemo's emulated KD-426 and the receipt printer behind it on any bytes, arriving in pieces with
// time passing between them: four rows of twenty characters, at most the strip's lines kept, and
// the same screen and receipt whether the pieces come whole or byte by byte.
#include "core/pacer.h"
#include "demo/emulators/kd426_display.h"
#include "demo/emulators/sim_log.h"
#include "fuzz/fuzz_line_chunks.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<LinePiece> pieces = linePieces(data, size);
    VirtualPacer clock;
    SimLog log;
    SimLog bytewiseLog;
    Kd426Display whole(clock, log);
    Kd426Display bytewise(clock, bytewiseLog);
    const bool compare = shortEnoughToCompare(pieces, Kd426Display::kMaxLineBytes);
    for (const LinePiece& piece : pieces) {
        clock.advance(piece.pauseMs);
        whole.feed(piece.bytes);
        for (const char c : piece.bytes)
            bytewise.feed(QByteArray(1, c));
        const VfdFrame frame = whole.frame();
        require(frame.grid.rows() == Kd426Display::kRows && frame.grid.columns() == Kd426Display::kColumns);
        for (int row = 0; row < Kd426Display::kRows; ++row)
            require(whole.rowText(row).size() >= Kd426Display::kColumns);
        require(whole.receipt().lines().size() <= ReceiptStrip::kMaxLines);
        require(log.entries().size() <= SimLog::kCapacity);
        if (compare) {
            require(frame.grid == bytewise.frame().grid);
            require(whole.receipt().lines() == bytewise.receipt().lines() &&
                    whole.receipt().unprinted() == bytewise.receipt().unprinted());
            require(whole.printerAddressed() == bytewise.printerAddressed());
        }
    }
    whole.powerOn();
    require(whole.frame().grid.rows() == Kd426Display::kRows);
    return 0;
}
