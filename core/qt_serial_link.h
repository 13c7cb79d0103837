#pragma once

#include "core/serial_link.h"

#include <QList>
#include <QPair>
#include <QSerialPort>
#include <functional>
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

    // What the port is opened for. A display is driven: the port reads and writes, and whatever the
    // display sends is dropped, for no display protocol reads it. A line is listened to as a display
    // listens (vfdemu's end of a null-modem pair): the port only reads, and every byte that comes in is
    // kept for takeReceived().
    enum class Role { Drive, Listen };

    explicit QtSerialLink(int writeTimeoutMs = kDefaultWriteTimeoutMs, Role role = Role::Drive);
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
    DsrLevel dsr() override;
    QString dsrUnreadableReason() const override { return dsrUnreadableReason_; }
    qint64 bytesToWrite() override;
    // Chosen at each open: the driver's own DSR changes where it reports them (TIOCGICOUNT and TIOCMIWAIT
    // on Linux; WaitCommEvent for EV_DSR on Windows), polling otherwise (a pseudo-terminal). A driver
    // that turns out to have the count but not the wait is polled from its first wait until the port
    // closes.
    bool reportsDsrChanges() const override { return driverReportsDsr_; }
    DsrEvents dsrEvents() override;
    // Sleeps in the driver, waking at least every kWakeMs to look at the count and at `stop`. Each
    // platform has its own (qt_serial_link_unix.cpp, qt_serial_link_win.cpp).
    void waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop = {}) override;
    static constexpr int kWakeMs = 100;

    // (system location, description) of each port the system reports, sorted by location. The
    // description is the USB product text where there is one.
    static QList<QPair<QString, QString>> systemPorts();

    // Listen: the bytes that have come in since the last call, as the event loop of the port's thread
    // has read them; never waits.
    QByteArray takeReceived();
    // Listen: called on the port's thread, from its event loop, whenever bytes have come in. Set it
    // before open().
    void setReceivedHandler(std::function<void()> received) { received_ = std::move(received); }

private:
    // Hands the settings to the port; on an open port they take effect at once.
    bool applyTo(QSerialPort& port, const LineSettings& line);
    // Drive: discards received bytes, which the display protocols never read.
    void dropInput();
    // Bytes the system has taken but not yet sent on the line; 0 when it cannot tell.
    qint64 systemOutputQueue() const;
    // How the port is opened for the role on this platform.
    QIODevice::OpenMode openMode() const;
    // Begins and ends what an open port holds on this platform: the driver's DSR reports, the timer
    // resolution.
    void startWatching();
    void stopWatching();

    int writeTimeoutMs_;
    Role role_;
    std::function<void()> received_;
    QString portText_ = QStringLiteral("COM1");
    LineSettings line_;
    std::unique_ptr<QSerialPort> port_;
    // Polls DSR from now until the port closes, counting on from the driver's last count.
    void pollFromNowOn();

    bool driverReportsDsr_ = false;
    QString dsrUnreadableReason_;
    DsrEvents lastFromDriver_; // the last look while the driver reported DSR
    // What the platform's part keeps while the port is open (the Windows wait's event).
    struct Platform;
    std::unique_ptr<Platform> platform_;
};
