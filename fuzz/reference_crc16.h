// A second, bit-by-bit CRC-16/MODBUS (initial 0xFFFF, reflected polynomial 0xA001), written apart
// from the table the program uses, so that a fuzzer judges a check value by itself.
#pragma once

#include <QByteArray>
#include <cstdint>

inline uint16_t referenceCrc16(const QByteArray& bytes)
{
    uint16_t crc = 0xFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}
