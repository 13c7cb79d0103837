// vfddemo's reading of prompt replies on any text. The value must be a finite number that does not
// depend on blanks, tabs or line feeds, and must agree with a reading of the leading number done
// here on ASCII alone: [sign] digits [. digits] [E [sign] digits], or &H / &O and their digits.
// The range check must accept exactly the values within the prompt's bounds.
#include "demo/model/reply_number.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_require.h"

#include <QString>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool asciiDigit(QChar c, int base)
{
    const char16_t u = c.unicode();
    const int value = (u >= u'0' && u <= u'9')   ? u - u'0'
                      : (u >= u'a' && u <= u'f') ? u - u'a' + 10
                      : (u >= u'A' && u <= u'F') ? u - u'A' + 10
                                                 : 99;
    return value < base;
}

double expectedValue(const QString& reply)
{
    QString text = reply;
    text.remove(u' ').remove(u'\t').remove(u'\n');
    if (text.startsWith(u'&')) {
        const QChar kind = text.size() > 1 ? text.at(1).toUpper() : QChar();
        const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        double value = 0;
        for (qsizetype i = 2; base != 0 && i < text.size() && asciiDigit(text.at(i), base); ++i)
            value = value * base + QString(text.at(i)).toInt(nullptr, base);
        return std::isfinite(value) ? value : 0;
    }
    // The longest prefix that strtod reads in the plain decimal form.
    std::string ascii;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u'e' || u == u'E'))
            break;
        ascii += static_cast<char>(u);
    }
    // strtod also takes hexadecimal, infinities and NaN, none of which can appear in `ascii`.
    const double value = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

struct Bounds
{
    double low;
    bool lowOpen;
    double high;
};
// The prompts of vfddemo: column, brightness, blink, hour, minute.
constexpr Bounds kBounds[] = {{0, true, 20}, {1, false, 4}, {0, false, 255}, {-1, true, 23}, {-1, true, 59}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t form = input.byte();
    const QByteArray bytes = input.rest();
    // Replies as typed (UTF-8) and as any sequence of UTF-16 units, lone surrogates included.
    const QString reply = (form & 1)
                              ? QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2)
                              : QString::fromUtf8(bytes);

    const double value = readReplyNumber(reply);
    require(std::isfinite(value));
    const double expected = expectedValue(reply);
    // Values too small for a normal double may read as 0 on either side.
    require(value == expected ||
            std::fabs(value - expected) <= std::max(1e-12 * std::fabs(expected), 1e-300));
    QString blank = reply;
    blank.remove(u' ').remove(u'\t').remove(u'\n');
    require(readReplyNumber(blank) == value);

    const double rounded = roundHalfEven(value);
    require(std::floor(rounded) == rounded && std::fabs(rounded - value) <= 0.5);

    for (const Bounds& b : kBounds) {
        const std::optional<int> accepted = replyInRange(reply, b.low, b.lowOpen, b.high);
        const bool within = (b.lowOpen ? value > b.low : value >= b.low) && value <= b.high;
        require(accepted.has_value() == within);
        if (accepted)
            require(*accepted == rounded && *accepted >= std::floor(b.low) && *accepted <= b.high);
    }
    return 0;
}
