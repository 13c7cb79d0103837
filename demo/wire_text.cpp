#include "wire_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

std::optional<QByteArray> EncodeWireText(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid()) {
        return std::nullopt;
    }
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        return std::nullopt;
    }
    // Some converters substitute without flagging it; the way back must give the same text.
    QStringDecoder decoder("windows-1252");
    const QString back = decoder.decode(bytes);
    if (back != text || bytes.size() != text.size()) {
        return std::nullopt;
    }
    return bytes;
}

QString HexBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}
