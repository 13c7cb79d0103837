#include "core/wire_text.h"

#include "core/offered_name.h"
#include "core/quoted_value.h"
#include "core/text_codec.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QByteArray systemDefaultName()
{
#ifdef Q_OS_WIN
    // Windows-1252 on a Western system; the converters know every ANSI page as "windows-<n>".
    const QByteArray name = "windows-" + QByteArray::number(static_cast<uint>(GetACP()));
    if (TextCodec::isKnown(name))
        return name;
#endif
    return "windows-1252";
}

// A character of `text` from `at`, a surrogate pair whole.
QString characterAt(const QString& text, qsizetype at)
{
    const bool pair =
        text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    return text.mid(at, pair ? 2 : 1);
}

QString codePoint(const QString& character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                                : character.at(0).unicode();
    return codePointName(code);
}

} // namespace

WireEncoding::WireEncoding() : name_(systemDefaultName()) {}

std::optional<WireEncoding> WireEncoding::fromName(const QString& name)
{
    // A name the lists offer is spelled as they spell it ("ibm866" is "IBM866").
    return known(offeredName(offeredNames(), name).value_or(name));
}

std::optional<WireEncoding> WireEncoding::known(const QString& name)
{
    const QByteArray latin = name.toLatin1();
    if (!TextCodec::isKnown(latin))
        return std::nullopt;
    QString ascii;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        ascii += QChar(c);
    if (TextCodec::encode(latin, ascii) != ascii.toLatin1())
        return std::nullopt;
    return WireEncoding(latin);
}

QStringList WireEncoding::offeredNames()
{
    static const QStringList kOffered = [] {
        QStringList names{WireEncoding().name()};
        for (const char* name :
             {"windows-1252", "windows-1250", "windows-1251", "windows-1253", "windows-1254", "windows-1257",
              "IBM437", "IBM850", "IBM00858", "IBM852", "IBM860", "IBM863", "IBM865", "IBM866", "IBM737",
              "Shift_JIS", "Big5", "GBK", "EUC-KR"}) {
            const QString text = QString::fromLatin1(name);
            if (!names.contains(text) && known(text))
                names << text;
        }
        return names;
    }();
    return kOffered;
}

WireBytes WireEncoding::encode(const QString& text) const
{
    const std::optional<QByteArray> whole = TextCodec::encode(name_, text);
    WireBytes result{whole.value_or(QByteArray()), {}};
    // A converter may put a substitute byte in for a character it cannot map without calling it an
    // error; the round trip shows it.
    if (whole && TextCodec::decode(name_, *whole) == text)
        return result;
    for (qsizetype at = 0; at < text.size();) {
        const QString character = characterAt(text, at);
        at += character.size();
        const std::optional<QByteArray> bytes = TextCodec::encode(name_, character);
        if (!bytes || TextCodec::decode(name_, *bytes) != character) {
            result.refusal = QStringLiteral("The character %1 (%2) cannot be shown on the display: it has no "
                                            "byte in the text encoding %3.")
                                 .arg(quotedValue(character, u'"'), codePoint(character), name());
            break;
        }
    }
    if (result.refusal.isEmpty())
        result.refusal = QStringLiteral("The text cannot be written in the text encoding %1.").arg(name());
    result.bytes.clear();
    return result;
}

WireBytes WireEncoding::encodeLine(const QString& text, int width) const
{
    WireBytes line = encode(text);
    if (!line)
        return line;
    if (line.bytes.size() > width) {
        line.refusal =
            QStringLiteral("The line %1 takes %2 bytes in the text encoding %3; a display line holds %4.")
                .arg(quotedValue(text, u'"'), QString::number(line.bytes.size()), name(),
                     QString::number(width));
        line.bytes.clear();
        return line;
    }
    line.bytes = line.bytes.leftJustified(width, ' ');
    return line;
}

std::optional<QString> WireEncoding::decode(const QByteArray& bytes) const
{
    std::optional<QString> text = TextCodec::decode(name_, bytes);
    if (text && text->contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return text;
}
