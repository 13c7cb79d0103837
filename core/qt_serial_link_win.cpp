// The Windows part of the Qt link: DSR changes from WaitCommEvent (EV_DSR) on Qt's overlapped handle,
// the system timer held at 1 ms while a port is open, and the output queue from ClearCommError.
#include "core/qt_serial_link.h"

#include "core/pacer.h"

#include <algorithm>
#include <cmath>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <timeapi.h>

struct QtSerialLink::Platform
{
    HANDLE woken = nullptr; // the wait's event (manual reset)
    bool fineTimer = false; // timeBeginPeriod(1) is held
};

namespace {

enum class CommWait {
    Changed,     // DSR changed while the wait was pending
    Stale,       // the wait ended at once on a change from before it began
    TimedOut,    // nothing came within the time
    Unsupported, // the driver cannot wait for DSR: poll
};

// One wait for EV_DSR of at most `timeoutMs`; it never outlives the call. The event's low bit keeps the
// completion out of the I/O completion port that Qt's notifier has bound the handle to.
CommWait waitForDsrEvent(HANDLE port, HANDLE woken, int timeoutMs)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = reinterpret_cast<HANDLE>(reinterpret_cast<ULONG_PTR>(woken) | 1);
    ::ResetEvent(woken);
    DWORD mask = 0;
    if (::WaitCommEvent(port, &mask, &overlapped))
        return (mask & EV_DSR) ? CommWait::Stale : CommWait::Unsupported;
    if (::GetLastError() != ERROR_IO_PENDING)
        return CommWait::Unsupported;
    bool cancelled = false;
    if (::WaitForSingleObject(woken, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        cancelled = ::CancelIoEx(port, &overlapped) != 0;
    DWORD unused = 0;
    if (::GetOverlappedResult(port, &overlapped, &unused, TRUE))
        return (mask & EV_DSR) ? CommWait::Changed : cancelled ? CommWait::TimedOut : CommWait::Unsupported;
    return ::GetLastError() == ERROR_OPERATION_ABORTED ? CommWait::TimedOut : CommWait::Unsupported;
}

} // namespace

QtSerialLink::QtSerialLink(int writeTimeoutMs, Role role)
    : writeTimeoutMs_(writeTimeoutMs), role_(role), platform_(std::make_unique<Platform>())
{
}

QtSerialLink::~QtSerialLink()
{
    close();
}

QIODevice::OpenMode QtSerialLink::openMode() const
{
    // A driving link opens for writing only: Qt then leaves the port's events alone (it waits for
    // EV_RXCHAR only when it reads, and a handle has one event wait at a time), so DSR's wait is ours.
    // Nothing the display sends is read anyway.
    return role_ == Role::Listen ? QIODevice::ReadOnly : QIODevice::WriteOnly;
}

void QtSerialLink::startWatching()
{
    // A 1 ms pause is 15.6 ms on a default system; the waits' limits need the finer timer.
    platform_->fineTimer = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    driverReportsDsr_ = false;
    if (role_ != Role::Drive || !::SetCommMask(port_->handle(), EV_DSR))
        return;
    if (!platform_->woken)
        platform_->woken = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    driverReportsDsr_ = platform_->woken != nullptr;
    lastFromDriver_ = {dsr(), 0};
}

void QtSerialLink::stopWatching()
{
    if (platform_->fineTimer)
        ::timeEndPeriod(1);
    platform_->fineTimer = false;
    if (platform_->woken)
        ::CloseHandle(platform_->woken);
    platform_->woken = nullptr;
    driverReportsDsr_ = false;
}

DsrEvents QtSerialLink::dsrEvents()
{
    if (!driverReportsDsr_ || !isOpen())
        return SerialLink::dsrEvents();
    const DsrLevel level = dsr();
    if (level == DsrLevel::Unreadable)
        return {level, lastFromDriver_.changes};
    if (level != lastFromDriver_.level)
        ++lastFromDriver_.changes;
    lastFromDriver_.level = level;
    return lastFromDriver_;
}

void QtSerialLink::waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop)
{
    if (!driverReportsDsr_ || !isOpen()) {
        SerialLink::waitForDsrChange(pacer, since, deadline, stop);
        return;
    }
    for (;;) {
        if (stop.stopRequested())
            return;
        const DsrLevel before = lastFromDriver_.level;
        const double left = deadline - pacer.now();
        const DsrEvents events = dsrEvents();
        if (!events.readable() || events.changes != since || left <= 0)
            return;
        const int timeoutMs = std::min(static_cast<int>(std::ceil(left * 1000.0)), kWakeMs);
        switch (waitForDsrEvent(port_->handle(), platform_->woken, timeoutMs)) {
        case CommWait::Changed:
            // Back at the level it had: a pulse shorter than the wake, two changes.
            if (dsr() == before)
                lastFromDriver_.changes += 2;
            break;
        case CommWait::Stale:
        case CommWait::TimedOut:
            break;
        case CommWait::Unsupported:
            pollFromNowOn();
            return;
        }
    }
}

qint64 QtSerialLink::systemOutputQueue() const
{
    DWORD errors = 0;
    COMSTAT status = {};
    if (::ClearCommError(port_->handle(), &errors, &status))
        return static_cast<qint64>(status.cbOutQue);
    return 0;
}
