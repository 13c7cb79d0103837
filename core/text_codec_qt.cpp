#include "core/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

bool TextCodec::isKnown(const QByteArray& name)
{
    return !name.isEmpty() && QStringEncoder(name.constData(), QStringConverter::Flag::Stateless).isValid();
}

std::optional<QByteArray> TextCodec::encode(const QByteArray& name, const QString& text)
{
    QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

std::optional<QString> TextCodec::decode(const QByteArray& name, const QByteArray& bytes)
{
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError())
        return std::nullopt;
    return text;
}
