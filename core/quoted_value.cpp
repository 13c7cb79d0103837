#include "core/quoted_value.h"

#include <QStringView>

namespace {

// A character as the message shows it: itself, or its code point between angle brackets ("<U+0009>")
// when it prints nothing, would end the line (Qt counts the line and paragraph separators as printable)
// or is a space of another width.
QString shown(char32_t code)
{
    // A space other than the plain one (a no-break space, U+2008) would read as a plain space.
    if (QChar::isPrint(code) && (code == U' ' || !QChar::isSpace(code)))
        return QString::fromUcs4(&code, 1);
    return u'<' + codePointName(code) + u'>';
}

} // namespace

QString codePointName(char32_t code)
{
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

QString quotedValue(const QString& value, QChar mark)
{
    QString quoted = mark.isNull() ? QString() : QString(mark);
    int characters = 0;
    for (qsizetype at = 0; at < value.size(); ++characters) {
        if (characters == kQuotedValueLength) {
            quoted += QStringLiteral("…");
            break;
        }
        // A surrogate pair is one character; a lone half of one is shown as its escape.
        const bool pair =
            value.at(at).isHighSurrogate() && at + 1 < value.size() && value.at(at + 1).isLowSurrogate();
        const char32_t code =
            pair ? QChar::surrogateToUcs4(value.at(at), value.at(at + 1)) : value.at(at).unicode();
        quoted += shown(code);
        at += pair ? 2 : 1;
    }
    return mark.isNull() ? quoted : quoted + mark;
}
