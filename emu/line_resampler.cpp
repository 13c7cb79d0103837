#include "emu/line_resampler.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace {

using Parity = LineSettings::Parity;

bool parityBit(unsigned value, Parity parity)
{
    const bool odd = std::popcount(value) % 2 == 1;
    switch (parity) {
    case Parity::Even:
        return odd;
    case Parity::Odd:
        return !odd;
    case Parity::Mark:
        return true;
    case Parity::Space:
    case Parity::None:
        break;
    }
    return false;
}

// The line's level in half bits of `sent` (so that one and a half stop bits fit): true is high (mark).
std::vector<bool> lineLevels(const QByteArray& bytes, const LineSettings& sent)
{
    const int stopHalves = sent.stopBits == LineSettings::StopBits::One          ? 2
                           : sent.stopBits == LineSettings::StopBits::OneAndHalf ? 3
                                                                                 : 4;
    std::vector<bool> levels;
    levels.reserve(bytes.size() * (2 * (2 + sent.dataBits) + stopHalves));
    auto bit = [&levels](bool high) { levels.insert(levels.end(), 2, high); };
    for (char c : bytes) {
        const unsigned value = static_cast<unsigned char>(c) & ((1u << sent.dataBits) - 1);
        bit(false);
        for (int k = 0; k < sent.dataBits; ++k)
            bit((value >> k) & 1u);
        if (sent.parity != Parity::None)
            bit(parityBit(value, sent.parity));
        levels.insert(levels.end(), stopHalves, true);
    }
    return levels;
}

// A line of fewer than eight data bits does not carry the top bits of what a program writes.
QByteArray dataBitsOnly(QByteArray bytes, int dataBits)
{
    const unsigned mask = (1u << dataBits) - 1;
    if (mask < 0xFF) {
        for (char& c : bytes)
            c = static_cast<char>(static_cast<unsigned char>(c) & mask);
    }
    return bytes;
}

} // namespace

QByteArray resampleLine(const QByteArray& bytes, const LineSettings& sent, const LineSettings& heard)
{
    if (sent == heard)
        return dataBitsOnly(bytes, heard.dataBits);
    if (sent.baud <= 0 || heard.baud <= 0)
        return {};
    const std::vector<bool> levels = lineLevels(bytes, sent);
    const auto size = static_cast<qint64>(levels.size());
    // Before and after the bytes the line idles high.
    auto level = [&](double t) {
        const auto index = static_cast<qint64>(std::floor(t));
        return index < 0 || index >= size || levels[index];
    };
    // One bit of the receiver, in half bits of the sender.
    const double bit = 2.0 * sent.baud / heard.baud;
    const int parityBits = heard.parity == Parity::None ? 0 : 1;
    QByteArray out;
    double t = 0;
    qint64 index = 0;
    while (true) {
        // The receiver waits for the line to fall from high to low.
        index = std::max(index, static_cast<qint64>(std::ceil(t)));
        while (index < size && (levels[index] || (index > 0 && !levels[index - 1])))
            ++index;
        if (index >= size)
            break;
        const double start = static_cast<double>(index);
        if (level(start + bit / 2)) { // too short for a start bit
            t = start + bit / 2;
            continue;
        }
        unsigned value = 0;
        for (int k = 0; k < heard.dataBits; ++k) {
            if (level(start + bit * (1.5 + k)))
                value |= 1u << k;
        }
        out += static_cast<char>(value);
        // On from the middle of the (first) stop bit; a low one there is a framing error, but the byte
        // stands.
        t = start + bit * (1.5 + heard.dataBits + parityBits);
    }
    return out;
}
