#include "demo/model/reply_number.h"

#include <cmath>

namespace {

// ASCII digits only, as in the decimal form: other scripts' digits are not part of a number.
bool isDigitIn(QChar c, int base)
{
    const int value = (c >= u'0' && c <= u'9')   ? c.unicode() - u'0'
                      : (c >= u'a' && c <= u'f') ? c.unicode() - u'a' + 10
                      : (c >= u'A' && c <= u'F') ? c.unicode() - u'A' + 10
                                                 : -1;
    return value >= 0 && value < base;
}

double readRadix(const QString& text, int start, int base)
{
    double value = 0;
    for (int i = start; i < text.size() && isDigitIn(text[i], base); ++i) {
        value = value * base + QString(text[i]).toInt(nullptr, base);
    }
    // Hundreds of digits overflow; such a reply is not a number, as a huge exponent is not.
    return std::isfinite(value) ? value : 0;
}

} // namespace

double readReplyNumber(const QString& reply)
{
    QString text;
    for (const QChar c : reply) {
        if (c != u' ' && c != u'\t' && c != u'\n') {
            text.append(c);
        }
    }
    if (text.size() >= 2 && text[0] == u'&') {
        const QChar kind = text[1].toUpper();
        if (kind == u'H') {
            return readRadix(text, 2, 16);
        }
        if (kind == u'O') {
            return readRadix(text, 2, 8);
        }
        return 0;
    }

    // Longest leading decimal number: [sign] digits [. digits] [E [sign] digits].
    int i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    int digits = 0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    int end = i;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            ++j;
        }
        const int exponentStart = j;
        while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128) {
            ++j;
        }
        if (j > exponentStart) {
            end = j;
        }
    }
    const double value = text.left(end).toDouble();
    return std::isfinite(value) ? value : 0;
}

double roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5) {
        return lower;
    }
    if (fraction > 0.5) {
        return lower + 1;
    }
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::optional<int> replyInRange(const QString& reply, double low, bool lowOpen, double high)
{
    const double value = readReplyNumber(reply);
    const bool aboveLow = lowOpen ? value > low : value >= low;
    if (!aboveLow || value > high) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(value);
    return static_cast<int>(rounded);
}
