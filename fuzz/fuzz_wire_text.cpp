// The wire-text encoder in every encoding the programs offer, on any text (UTF-16 as it comes, lone
// surrogates included): a text is refused, with a reason and no bytes, or becomes bytes that decode
// back to it; a display line is measured in bytes, refused whole exactly when its bytes do not fit,
// and otherwise those bytes filled up with spaces to the width. A refusal and a quoted value are one
// printable line.
#include "core/quoted_value.h"
#include "core/wire_text.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/fuzz_text.h"

namespace {

// The characters between the marks: at most kQuotedValueLength of the value's, then "…" when cut
// (a value may end in "…" of its own).
void requireQuoted(const QString& value)
{
    const QString quoted = quotedValue(value);
    require(quoted.size() >= 2 && quoted.front() == u'\'' && quoted.back() == u'\'' && printableLine(quoted));
    require(quoted.size() <= 2 + kQuotedValueLength * 10 + 1);
    const bool cut = value.toUcs4().size() > kQuotedValueLength;
    require(!cut || quoted.endsWith(QStringLiteral("…'")));
    require(cut || value.endsWith(QStringLiteral("…")) || !quoted.endsWith(QStringLiteral("…'")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    static const QStringList kNames = WireEncoding::offeredNames();
    const WireEncoding encoding = *WireEncoding::fromName(kNames.at(qsizetype(input.choose(kNames.size()))));
    const int width = int(input.choose(41));
    const QByteArray units = input.rest();
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(units.constData()), units.size() / 2);

    const WireBytes encoded = encoding.encode(text);
    if (encoded)
        require(encoding.decode(encoded.bytes) == text);
    else
        require(encoded.bytes.isEmpty() && printableLine(encoded.refusal) && !encoded.refusal.isEmpty());

    const WireBytes line = encoding.encodeLine(text, width);
    require(bool(line) == (encoded && encoded.bytes.size() <= width));
    if (line)
        require(line.bytes == encoded.bytes.leftJustified(width, ' '));
    else
        require(line.bytes.isEmpty() && printableLine(line.refusal) && !line.refusal.isEmpty());

    requireQuoted(text);
    return 0;
}
