#include "sim/display_code_page.h"

#include "operations/parameter_vocabulary.h"

#include <QStringDecoder>

namespace {

const char* decoderFor(int code)
{
    switch (code) {
    case DisplayCodePage::PC437:
        return "IBM437";
    case DisplayCodePage::Katakana:
        return "Shift_JIS"; // its single bytes 0xA1..0xDF are the half-width katakana
    case DisplayCodePage::PC850:
        return "IBM850";
    case DisplayCodePage::PC860:
        return "IBM860";
    case DisplayCodePage::PC863:
        return "IBM863";
    case DisplayCodePage::PC865:
        return "IBM865";
    case DisplayCodePage::Russian:
        return "IBM866";
    case DisplayCodePage::Greek:
        return "IBM737";
    case DisplayCodePage::WPC1252:
        return "windows-1252";
    case DisplayCodePage::PC858:
        return "IBM00858";
    case DisplayCodePage::WPC1257:
        return "windows-1257";
    default:
        return nullptr;
    }
}

// One byte through a fresh decoder, so that a lead byte cannot swallow the next one.
QChar decodeOne(const QByteArray& decoderName, quint8 byte)
{
    QStringDecoder decoder(decoderName.constData(), QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArray(1, static_cast<char>(byte)));
    if (decoder.hasError() || decoded.size() != 1)
        return {};
    const QChar c = decoded.at(0);
    // Decoders mark a byte they cannot map with U+FFFD or the substitute control U+001A.
    if (c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control)
        return {};
    return c;
}

} // namespace

DisplayCodePage::DisplayCodePage(int code) : code_(code)
{
    const char* name = decoderFor(code);
    if (!name) {
        name = "IBM437";
        note_ = code == NotSet ? QStringLiteral("Code page not set: drawn as PC437")
                               : QStringLiteral("Code page %1 has no character table here: drawn as PC437")
                                     .arg(codePageName(code));
    }
    decoderName_ = name;
    QStringDecoder probe(name);
    if (!probe.isValid()) {
        // A Qt built without ICU lacks most DOS code pages; the upper half stays blank then.
        note_ = QStringLiteral("No %1 decoder in this Qt: upper half drawn blank").arg(QLatin1String(name));
        return;
    }
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        upper_[byte - 0x80] = decodeOne(decoderName_, static_cast<quint8>(byte));
}

QChar DisplayCodePage::character(quint8 byte) const
{
    if (byte >= 0x80)
        return upper_[byte - 0x80];
    if (byte < 0x20)
        return {};
    return QChar(byte);
}

QString DisplayCodePage::text(const QByteArray& bytes) const
{
    QString text;
    for (char byte : bytes) {
        const QChar c = character(static_cast<quint8>(byte));
        if (byte == 0x7F)
            text += QChar(0x2302); // the house sign the display draws there
        else
            text += c.isNull() ? QChar(QLatin1Char(' ')) : c;
    }
    return text;
}
