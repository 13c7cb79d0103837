#pragma once

#include "serial_port.h"

#include <QSerialPort>

// SerialPort over Qt's QSerialPort: COMn and system port names, the settings text, whole writes.
class QtSerialPort : public SerialPort
{
public:
    bool open(const QString& portText, const QString& settings) override;
    bool write(const QByteArray& bytes) override;
    void close() override;
    bool isOpen() const override;
    PortError error() const override { return lastError_; }

private:
    bool fail(int number, const QString& reason);

    QSerialPort port_;
    PortError lastError_;
    qint32 baudRate_ = 9600;
};
