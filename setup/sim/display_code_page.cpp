#include "setup/sim/display_code_page.h"

#include "setup/operations/parameter_vocabulary.h"

#include "core/text_codec.h"

namespace {

// One byte through a fresh decoder, so that a lead byte cannot swallow the next one.
QChar decodeOne(const QByteArray& decoderName, quint8 byte)
{
    const std::optional<QString> decoded =
        TextCodec::decode(decoderName, QByteArray(1, static_cast<char>(byte)));
    if (!decoded || decoded->size() != 1)
        return {};
    const QChar c = decoded->at(0);
    // Decoders mark a byte they cannot map with U+FFFD or the substitute control U+001A.
    if (c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control)
        return {};
    return c;
}

} // namespace

DisplayCodePage::DisplayCodePage(int code) : code_(code)
{
    QByteArray name = codePageEncoding(code);
    if (name.isEmpty()) {
        name = "IBM437";
        note_ = code == NotSet ? QStringLiteral("Code page not set: drawn as PC437")
                               : QStringLiteral("Code page %1 has no character table here: drawn as PC437")
                                     .arg(codePageName(code));
    }
    decoderName_ = name;
    if (!TextCodec::isKnown(name)) {
        // A Qt built without ICU lacks most DOS code pages; the upper half stays blank then.
        note_ =
            QStringLiteral("No %1 decoder in this Qt: upper half drawn blank").arg(QString::fromLatin1(name));
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
