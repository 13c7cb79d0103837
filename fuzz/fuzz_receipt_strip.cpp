// The receipt strip behind vfddemo's emulated KD-426 on any bytes, arriving in pieces: lines no
// wider than the paper, at most the strip's lines kept, print modes as ESC ! gives them, and the
// same strip whether the pieces come whole or byte by byte.
#include "demo/emulators/receipt_strip.h"
#include "demo/emulators/sim_log.h"
#include "fuzz/fuzz_line_chunks.h"
#include "fuzz/fuzz_require.h"

namespace {

// Columns a line takes on the paper: double-width text takes two per character.
int width(const ReceiptStrip::Line& line)
{
    int width = 0;
    for (const ReceiptStrip::Run& run : line)
        width += static_cast<int>(run.text.toUcs4().size()) * (run.doubleWidth() ? 2 : 1);
    return width;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<LinePiece> pieces = linePieces(data, size);
    SimLog log;
    SimLog bytewiseLog;
    ReceiptStrip whole(log);
    ReceiptStrip bytewise(bytewiseLog);
    for (const LinePiece& piece : pieces) {
        whole.feed(piece.bytes);
        for (const char c : piece.bytes)
            bytewise.feed(QByteArray(1, c));
        require(whole.lines().size() <= ReceiptStrip::kMaxLines);
        for (const ReceiptStrip::Line& line : whole.lines())
            require(width(line) <= ReceiptStrip::kPaperColumns);
        require(width(whole.unprinted()) <= ReceiptStrip::kPaperColumns);
        require(whole.mode() >= 0 && whole.mode() <= 0xFF);
        require(whole.lines() == bytewise.lines() && whole.unprinted() == bytewise.unprinted());
    }
    return 0;
}
