#pragma once

#include <QByteArray>
#include <QString>

// The byte n, for the commands written as chr(n).
inline QByteArray chr(int n)
{
    return QByteArray(1, static_cast<char>(n & 0xFF));
}

// Bytes as "1F 58 02", for the emulator's record and test failures.
inline QString hexBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}
