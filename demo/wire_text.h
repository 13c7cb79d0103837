#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text for the displays goes out one byte per character in Windows-1252. A character that has no byte
// there gives nothing: it is refused, never sent as a stand-in such as '?'.
std::optional<QByteArray> EncodeWireText(const QString& text);

// The byte n, for the commands written as Chr(n).
inline QByteArray Chr(int n)
{
    return QByteArray(1, static_cast<char>(n & 0xFF));
}

// Bytes as "1F 58 02", for messages and test failures.
QString HexBytes(const QByteArray& bytes);
