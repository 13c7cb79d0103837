// The Unix part of the Qt link: the driver's DSR change count and wait (ModemLineWait) and the output
// queue through ioctl.
#include "core/qt_serial_link.h"

#include "core/modem_line_wait.h"
#include "core/pacer.h"

#include <algorithm>
#include <cmath>
#include <sys/ioctl.h>
#include <termios.h>

struct QtSerialLink::Platform
{
};

QtSerialLink::QtSerialLink(int writeTimeoutMs, Role role) : writeTimeoutMs_(writeTimeoutMs), role_(role) {}

QtSerialLink::~QtSerialLink()
{
    close();
}

QIODevice::OpenMode QtSerialLink::openMode() const
{
    return role_ == Role::Listen ? QIODevice::ReadOnly : QIODevice::ReadWrite;
}

void QtSerialLink::startWatching()
{
    const std::optional<quint64> count = ModemLineWait::dsrChangeCount(static_cast<int>(port_->handle()));
    driverReportsDsr_ = count.has_value();
    if (count)
        lastFromDriver_ = {dsr(), *count};
}

void QtSerialLink::stopWatching() {}

DsrEvents QtSerialLink::dsrEvents()
{
    if (!driverReportsDsr_ || !isOpen())
        return SerialLink::dsrEvents();
    // The level is read between two counts: when they differ, the line changed meanwhile and the level
    // may belong to either, so it is read again.
    const int handle = static_cast<int>(port_->handle());
    std::optional<quint64> before = ModemLineWait::dsrChangeCount(handle);
    for (int attempt = 0; before; ++attempt) {
        const DsrLevel level = dsr();
        const std::optional<quint64> after = ModemLineWait::dsrChangeCount(handle);
        if (after == before || (after && attempt == 3)) {
            lastFromDriver_ = {level, *after};
            return lastFromDriver_;
        }
        before = after;
    }
    pollFromNowOn(); // the count has gone (a device removed)
    return SerialLink::dsrEvents();
}

void QtSerialLink::waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop)
{
    if (!driverReportsDsr_ || !isOpen()) {
        SerialLink::waitForDsrChange(pacer, since, deadline, stop);
        return;
    }
    const int handle = static_cast<int>(port_->handle());
    for (;;) {
        if (stop.stopRequested())
            return;
        const std::optional<quint64> count = ModemLineWait::dsrChangeCount(handle);
        const double left = deadline - pacer.now();
        if (!count || *count != since || left <= 0)
            return;
        // Never longer than kWakeMs: a stop request is looked at, and a driver's wait that a stop of the
        // process (SIGSTOP, SIGCONT) interrupted starts again for the next change, not one that came
        // meanwhile.
        const int timeoutMs = std::min(static_cast<int>(std::ceil(left * 1000.0)), kWakeMs);
        if (ModemLineWait::waitForChange(handle, timeoutMs) == ModemLineWait::End::Unsupported) {
            pollFromNowOn();
            return;
        }
    }
}

qint64 QtSerialLink::systemOutputQueue() const
{
    int queued = 0;
    if (::ioctl(port_->handle(), TIOCOUTQ, &queued) == 0 && queued > 0)
        return queued;
    return 0;
}
