#pragma once

#include "core/serial_link.h"

#include <QList>
#include <QPair>
#include <QSerialPort>
#include <memory>
#include <optional>

// A SerialLink over a real port, through Qt SerialPort.
//
// Device operations run on a worker thread that has no event loop, so nothing here waits for
// Qt's notifiers: every call drives the port itself (waitForBytesWritten). The QSerialPort is made
// by open() on the thread that opens it and dropped by close(), so it always belongs to the thread
// that uses it. That thread must be one Qt started (a QThread, running its loop or not): Qt's port
// keeps socket notifiers, which refuse threads Qt does not know.
class QtSerialLink : public SerialLink
{
public:
    // How long one write() keeps pushing Qt's buffer to the system. Whatever is still buffered
    // after that is not an error: it stays counted in bytesToWrite(), whose waits have their own
    // limits and their own message.
    static constexpr int kDefaultWriteTimeoutMs = 3000;

    explicit QtSerialLink(int writeTimeoutMs = kDefaultWriteTimeoutMs);
    ~QtSerialLink() override;
    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    void setPortName(const QString& name) override { portText_ = name; }
    QString portName() const override { return portText_; }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return line_; }

    LinkStatus open() override;
    void close() override;
    bool isOpen() const override;

    LinkStatus write(const QByteArray& bytes) override;
    bool dsr() override;
    qint64 bytesToWrite() override;

    // (system location, description) of each port the system reports, sorted by location. The
    // description is the USB product text where there is one.
    static QList<QPair<QString, QString>> systemPorts();

private:
    // Hands the settings to the port; on an open port they take effect at once.
    bool applyTo(QSerialPort& port, const LineSettings& line);
    // Discards received bytes: the display protocol never reads them.
    void dropInput();
    // Bytes the system has taken but not yet sent on the line; 0 when it cannot tell.
    qint64 systemOutputQueue() const;

    int writeTimeoutMs_;
    QString portText_ = QStringLiteral("COM1");
    LineSettings line_;
    std::unique_ptr<QSerialPort> port_;
};
