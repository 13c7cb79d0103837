#include "core/wire_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* kWireCodePage = "windows-1252";
}

bool wireCodecAvailable()
{
    return QStringEncoder(kWireCodePage).isValid();
}

std::optional<QByteArray> encodeWireText(const QString& text)
{
    QStringEncoder encoder(kWireCodePage, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    // A converter may substitute a character it cannot map; the round trip shows it.
    QStringDecoder decoder(kWireCodePage, QStringConverter::Flag::Stateless);
    if (QString(decoder.decode(bytes)) != text)
        return std::nullopt;
    return bytes;
}

QString firstUnencodableCharacter(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!encodeWireText(character))
            return character;
        i += length - 1;
    }
    return {};
}
