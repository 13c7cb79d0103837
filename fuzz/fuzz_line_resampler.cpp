// vfdemu's line resampler on any bytes sent at any settings and heard at any others: a receiver finds no
// more bytes than the line has falls to low, and one at the sender's speed, data bits and parity hears
// the bytes as they were sent, whatever the stop bits.
#include "emu/line_resampler.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"

namespace {

// A speed a pseudo-terminal reports (0 when it is not one of the known ones) or any the person types.
LineSettings settingsFrom(FuzzInput& input)
{
    static constexpr qint32 kBauds[] = {0, 50, 300, 1200, 2400, 4800, 9600, 19200, 38400, 115200, 921600};
    constexpr uint32_t kKnown = sizeof kBauds / sizeof kBauds[0];
    LineSettings line;
    const uint32_t pick = input.choose(kKnown + 1);
    line.baud = pick < kKnown ? kBauds[pick] : static_cast<qint32>(input.word() << 16 | input.word());
    line.parity = static_cast<LineSettings::Parity>(input.choose(5));
    line.dataBits = 5 + static_cast<int>(input.choose(4));
    line.stopBits = static_cast<LineSettings::StopBits>(input.choose(3));
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const LineSettings sent = settingsFrom(input);
    const LineSettings heard = settingsFrom(input);
    const QByteArray bytes = input.rest();
    const QByteArray out = resampleLine(bytes, sent, heard);

    // A frame of start, data and parity bits falls to low at most once for every two of them.
    const int parityBits = sent.parity == LineSettings::Parity::None ? 0 : 1;
    require(out.size() <= bytes.size() * ((2 + sent.dataBits + parityBits) / 2));
    const auto mask = [](const QByteArray& text, int dataBits) {
        QByteArray masked = text;
        for (char& c : masked)
            c = static_cast<char>(static_cast<unsigned char>(c) & ((1u << dataBits) - 1));
        return masked;
    };
    require(out == mask(out, heard.dataBits));
    if (sent.baud > 0 && sent.baud == heard.baud && sent.dataBits == heard.dataBits &&
        sent.parity == heard.parity)
        require(out == mask(bytes, sent.dataBits));
    return 0;
}
