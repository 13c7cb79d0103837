#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text to and from the bytes of a named encoding ("windows-1251", "IBM866", "Big5"). Qt's converters where
// they know the name; on Windows, whose Qt has no ICU and so knows only the Unicode forms and Latin-1,
// the system's own code pages (text_codec_win.cpp).
namespace TextCodec {

bool isKnown(const QByteArray& name);
// The bytes of `text`; nothing when the converter reports a character it cannot map. A converter that
// puts a substitute in silently is caught by the caller's round trip.
std::optional<QByteArray> encode(const QByteArray& name, const QString& text);
// The text of `bytes`; nothing when a byte sequence is not a character there.
std::optional<QString> decode(const QByteArray& name, const QByteArray& bytes);

} // namespace TextCodec
