#pragma once

#include <QByteArray>
#include <cstdint>

// CRC-16/MODBUS: initial value 0xFFFF, reflected polynomial 0xA001, no final exclusive-or.
// The display computes the same value over what it receives.
quint16 crc16Value(const QByteArray& bytes);
// The same value as the two bytes sent on the wire, high byte first.
QByteArray crc16(const QByteArray& bytes);
