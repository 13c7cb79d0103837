#include "setup/protocol/crc16.h"

quint16 crc16Value(const QByteArray& bytes)
{
    quint16 crc = 0xFFFF;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    }
    return crc;
}

QByteArray crc16(const QByteArray& bytes)
{
    const quint16 crc = crc16Value(bytes);
    QByteArray out(2, '\0');
    out[0] = static_cast<char>(crc >> 8);
    out[1] = static_cast<char>(crc & 0xFF);
    return out;
}
