#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Characters go to the display as single bytes in Windows-1252. A character without a byte there
// is never sent as something else: the text is refused.
std::optional<QByteArray> encodeWireText(const QString& text);
// The first character of `text` that has no byte in the wire code page, or an empty text.
QString firstUnencodableCharacter(const QString& text);
// True when Qt's converter for the wire code page is available.
bool wireCodecAvailable();
