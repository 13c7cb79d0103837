#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

// The serial control's settings text ("9600,n,8,1"): baud rate, parity letter, data bits, stop bits.
struct LineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// Reads a settings text; blanks around the four fields are allowed, anything else malformed gives nothing.
std::optional<LineSettings> ParseLineSettings(const QString& text);
