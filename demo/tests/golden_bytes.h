#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes a golden write stands for: hexadecimal bytes, and "TEXT" for the Latin-1 bytes of its
// characters: 1B 71 41 "HELLO" 0D.
inline QByteArray bytesOf(const QString& write)
{
    QByteArray bytes;
    const QStringList pieces = write.split(u'"');
    for (int i = 0; i < pieces.size(); ++i)
        bytes += i % 2 == 1 ? pieces[i].toLatin1() : QByteArray::fromHex(pieces[i].toLatin1());
    return bytes;
}
