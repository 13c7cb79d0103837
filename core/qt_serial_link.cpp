#include "core/qt_serial_link.h"

#include "core/open_failure.h"
#include "core/pacer.h"
#include "core/port_name.h"
#include "core/quoted_value.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>
#include <QStringList>
#include <algorithm>

bool QtSerialLink::applyTo(QSerialPort& port, const LineSettings& line)
{
    static constexpr QSerialPort::Parity kParity[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                      QSerialPort::OddParity, QSerialPort::MarkParity,
                                                      QSerialPort::SpaceParity};
    static constexpr QSerialPort::StopBits kStopBits[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                          QSerialPort::TwoStop};
    return port.setBaudRate(line.baud) &&
           port.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) &&
           port.setParity(kParity[static_cast<int>(line.parity)]) &&
           port.setStopBits(kStopBits[static_cast<int>(line.stopBits)]) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}

LinkStatus QtSerialLink::setSettings(const LineSettings& line)
{
    if (isOpen()) {
        port_->clearError();
        if (!applyTo(*port_, line)) {
            const QString why = port_->errorString();
            // Leave the line as it was, so that settings() keeps telling the truth.
            applyTo(*port_, line_);
            port_->clearError();
            return LinkStatus::failure(LinkFailure::SettingsRefused, why);
        }
    }
    line_ = line;
    return LinkStatus::success();
}

LinkStatus QtSerialLink::open()
{
    const std::optional<QString> systemName = systemPortName(portText_);
    if (!systemName)
        return LinkStatus::failure(
            LinkFailure::BadPortName,
            QStringLiteral("%1 does not name a port number").arg(quotedValue(portText_, u'"')));
    if (systemName->isEmpty())
        return LinkStatus::failure(LinkFailure::BadPortName, QStringLiteral("No port name was given"));

    // Opening an open link goes to Qt all the same, so that it is reported as the port in use.
    if (!port_) {
        port_ = std::make_unique<QSerialPort>();
        if (role_ == Role::Listen && received_)
            QObject::connect(port_.get(), &QSerialPort::readyRead, port_.get(), received_);
    }
    const bool wasOpen = port_->isOpen();
    if (!wasOpen) {
        port_->setPortName(*systemName);
        applyTo(*port_, line_); // stored now, applied by open()
    }
    if (port_->open(openMode())) {
        startWatching();
        return LinkStatus::success();
    }

    const QSerialPort::SerialPortError error = port_->error();
    const QString reason = port_->errorString();
    if (wasOpen)
        return openFailureStatus(error, reason, PortNode::Present);
    port_.reset();
    return openFailureStatus(error, reason, portNodeOf(*systemName));
}

void QtSerialLink::close()
{
    if (isOpen())
        stopWatching();
    if (port_)
        port_->close();
    port_.reset();
    driverReportsDsr_ = false;
}

bool QtSerialLink::isOpen() const
{
    return port_ && port_->isOpen();
}

LinkStatus QtSerialLink::write(const QByteArray& bytes)
{
    if (!isOpen())
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("The port is not open"));
    if (bytes.isEmpty())
        return LinkStatus::success();

    // An error left by an earlier call (a modem-line query, a timed-out wait) is not this write's.
    port_->clearError();
    if (port_->write(bytes) < 0)
        return LinkStatus::failure(LinkFailure::WriteFailed, port_->errorString());

    // Without an event loop Qt's buffer only moves while someone waits on it. Each wait returns
    // once the system has taken some of it; a device that has gone away shows up as an error
    // here (on Linux a read or resource error, since the wait also services the input side).
    const QDeadlineTimer deadline(writeTimeoutMs_);
    while (port_->bytesToWrite() > 0 && !deadline.hasExpired()) {
        const bool moved = port_->waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
        dropInput();
        if (moved)
            continue;
        const QSerialPort::SerialPortError error = port_->error();
        if (error == QSerialPort::TimeoutError || error == QSerialPort::NoError) {
            port_->clearError();
            continue;
        }
        const QString reason = port_->errorString();
        port_->clearError();
        return LinkStatus::failure(LinkFailure::WriteFailed, reason);
    }
    return LinkStatus::success();
}

DsrLevel QtSerialLink::dsr()
{
    if (!isOpen())
        return DsrLevel::Low;
    const QSerialPort::PinoutSignals lines = port_->pinoutSignals();
    if (port_->error() != QSerialPort::NoError) {
        // No modem lines to read (a pseudo-terminal, an adapter without them, a device gone). The
        // error must not linger, or the next write would take it for its own.
        dsrUnreadableReason_ = port_->errorString();
        port_->clearError();
        return DsrLevel::Unreadable;
    }
    return lines.testFlag(QSerialPort::DataSetReadySignal) ? DsrLevel::High : DsrLevel::Low;
}

void QtSerialLink::pollFromNowOn()
{
    driverReportsDsr_ = false;
    continueCountFrom(lastFromDriver_);
}

qint64 QtSerialLink::bytesToWrite()
{
    if (!isOpen())
        return 0;
    if (port_->bytesToWrite() > 0) {
        // A zero wait hands the system what it will take now, so the count goes down without
        // an event loop; a device that has gone away leaves its buffer counted.
        port_->waitForBytesWritten(0);
        port_->clearError();
        dropInput();
    }
    return port_->bytesToWrite() + systemOutputQueue();
}

void QtSerialLink::dropInput()
{
    // The waits also read what comes in. Nothing on a driving link reads, so whatever the display sends
    // would only pile up in Qt's buffer.
    if (role_ == Role::Drive && port_->bytesAvailable() > 0)
        port_->readAll();
}

QByteArray QtSerialLink::takeReceived()
{
    return isOpen() && role_ == Role::Listen ? port_->readAll() : QByteArray();
}

QList<QPair<QString, QString>> QtSerialLink::systemPorts()
{
    QList<QPair<QString, QString>> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        QString description = info.description();
        if (description.isEmpty())
            description = info.manufacturer();
        ports.append({info.systemLocation(), description});
    }
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return ports;
}
