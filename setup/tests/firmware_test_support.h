#pragma once
// Shared by the firmware tests: images, files and the pieces of a transfer as they appear on the wire.

#include "protocol/crc16.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace firmware_test {

// A recognisable image of `size` bytes: neighbouring pages differ.
inline QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// A .wfu file holding `image`: the image, then the CRC of image + 0x00, high byte first.
inline QByteArray WfuFile(const QByteArray& image)
{
    return image + crc16(image + QByteArray(1, '\0'));
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace firmware_test
