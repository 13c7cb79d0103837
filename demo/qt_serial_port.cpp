#include "qt_serial_port.h"

#include "line_settings.h"
#include "port_path.h"

#include <QElapsedTimer>

bool QtSerialPort::fail(int number, const QString& reason)
{
    lastError_ = {number, reason};
    return false;
}

bool QtSerialPort::open(const QString& portText, const QString& settings)
{
    lastError_ = {};
    if (port_.isOpen()) {
        return fail(PortErrorNumber::InUse, QStringLiteral("The port is already open."));
    }
    const std::optional<LineSettings> line = ParseLineSettings(settings);
    if (!line) {
        return fail(PortErrorNumber::BadSettings,
                    QStringLiteral("The line settings \"%1\" are not valid.").arg(settings));
    }
    port_.setPortName(SystemPortPath(portText));
    if (!port_.open(QIODevice::WriteOnly)) {
        const QSerialPort::SerialPortError code = port_.error();
        const QString reason = port_.errorString();
        port_.clearError();
        if (code == QSerialPort::DeviceNotFoundError) {
            return fail(PortErrorNumber::Missing, reason);
        }
        if (code == QSerialPort::PermissionError) {
            return fail(PortErrorNumber::InUse, reason);
        }
        return fail(PortErrorNumber::Other, reason);
    }
    // The rate, parity, data and stop bits go on after opening, so a port that refuses them is
    // closed again rather than left open with the wrong settings.
    const bool applied = port_.setBaudRate(line->baudRate) && port_.setParity(line->parity) &&
                         port_.setDataBits(line->dataBits) && port_.setStopBits(line->stopBits) &&
                         port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        const QString reason = port_.errorString();
        port_.close();
        port_.clearError();
        return fail(PortErrorNumber::BadSettings, reason);
    }
    baudRate_ = line->baudRate;
    return true;
}

bool QtSerialPort::write(const QByteArray& bytes)
{
    if (!port_.isOpen()) {
        return fail(PortErrorNumber::WriteFailed, QStringLiteral("The port is not open."));
    }
    if (bytes.isEmpty()) {
        return true;
    }
    if (port_.write(bytes) != bytes.size()) {
        return fail(PortErrorNumber::WriteFailed, port_.errorString());
    }
    // Wait until the bytes have gone to the driver, so that a close right after a press never drops
    // them and a stuck line is reported instead of silently ignored: the time the line needs at its
    // rate (ten bits a character) and one second more.
    const qint64 limitMs = 1000 + bytes.size() * 10000LL / qMax(baudRate_, 1);
    QElapsedTimer timer;
    timer.start();
    while (port_.bytesToWrite() > 0) {
        const qint64 left = limitMs - timer.elapsed();
        if (left <= 0 || !port_.waitForBytesWritten(static_cast<int>(left))) {
            if (port_.bytesToWrite() == 0) {
                break;
            }
            const QString reason = port_.error() == QSerialPort::NoError
                                       ? QStringLiteral("The line did not take the bytes in time.")
                                       : port_.errorString();
            return fail(PortErrorNumber::WriteFailed, reason);
        }
    }
    return true;
}

void QtSerialPort::close()
{
    if (port_.isOpen()) {
        port_.close();
    }
    port_.clearError();
}

bool QtSerialPort::isOpen() const
{
    return port_.isOpen();
}
