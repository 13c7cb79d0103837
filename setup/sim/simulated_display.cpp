#include "setup/sim/simulated_display.h"

#include "core/pacer.h"

#include <QMutexLocker>
#include <algorithm>

SimulatedDisplay::SimulatedDisplay(const Pacer& clock) : clock_(clock), line_(faults_), device_(faults_) {}

void SimulatedDisplay::advanceLocked() const
{
    const double now = clock_.now();
    line_.deliver(now, [this](double time, const LineSettings& settings, const QByteArray& bytes) {
        device_.receive(time, settings, bytes);
    });
    countDsrChangesLocked(now);
    device_.forgetPulses(now);
}

bool SimulatedDisplay::portDsrLocked(double t) const
{
    return line_.isOpen() && line_.carriesDsr(t) && device_.dsr(t);
}

void SimulatedDisplay::countDsrChangesLocked(double now) const
{
    if (!line_.isOpen() || now <= countedTo_)
        return;
    QList<double> times = device_.dsrChangeTimes(countedTo_, now);
    if (const double reaches = line_.dsrReachesAt(); reaches > countedTo_ && reaches <= now)
        times << reaches;
    std::sort(times.begin(), times.end());
    times << now;
    for (const double t : times) {
        const bool high = portDsrLocked(t);
        if (high != counted_.high())
            ++counted_.changes;
        counted_.level = high ? DsrLevel::High : DsrLevel::Low;
    }
    countedTo_ = now;
}

bool SimulatedDisplay::reportsDsrChanges() const
{
    QMutexLocker lock(&mutex_);
    return !faults_.dsrPolled;
}

void SimulatedDisplay::setPortName(const QString& name)
{
    QMutexLocker lock(&mutex_);
    line_.setPortName(name);
}

QString SimulatedDisplay::portName() const
{
    QMutexLocker lock(&mutex_);
    return line_.portName();
}

LinkStatus SimulatedDisplay::setSettings(const LineSettings& settings)
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    line_.setSettings(settings);
    return LinkStatus::success();
}

LineSettings SimulatedDisplay::settings() const
{
    QMutexLocker lock(&mutex_);
    return line_.settings();
}

LinkStatus SimulatedDisplay::open()
{
    QMutexLocker lock(&mutex_);
    // Nothing is on its way while the port is closed: the display has nothing to catch up with.
    const double now = clock_.now();
    const LinkStatus status = line_.open(now);
    if (status.ok()) {
        // Counting starts at the open, from DSR as it is then; the count goes on from the last one.
        countedTo_ = now;
        counted_.level = portDsrLocked(now) ? DsrLevel::High : DsrLevel::Low;
    }
    return status;
}

void SimulatedDisplay::close()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    line_.close();
}

bool SimulatedDisplay::isOpen() const
{
    QMutexLocker lock(&mutex_);
    return line_.isOpen();
}

LinkStatus SimulatedDisplay::write(const QByteArray& bytes)
{
    QMutexLocker lock(&mutex_);
    if (const LinkStatus refused = line_.refuseWrite(); !refused.ok())
        return refused;
    advanceLocked();
    line_.send(clock_.now(), bytes);
    return LinkStatus::success();
}

DsrLevel SimulatedDisplay::dsr()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    if (line_.isOpen() && faults_.dsrUnreadable)
        return DsrLevel::Unreadable;
    return portDsrLocked(clock_.now()) ? DsrLevel::High : DsrLevel::Low;
}

QString SimulatedDisplay::dsrUnreadableReason() const
{
    // What a pseudo-terminal answers when asked for its modem lines.
    return QStringLiteral("Inappropriate ioctl for device");
}

DsrEvents SimulatedDisplay::dsrEvents()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    if (line_.isOpen() && faults_.dsrUnreadable)
        return {DsrLevel::Unreadable, counted_.changes};
    return counted_;
}

qint64 SimulatedDisplay::bytesToWrite()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    return line_.bytesToWrite(clock_.now());
}

LineSettings SimulatedDisplay::listeningSettings() const
{
    QMutexLocker lock(&mutex_);
    return device_.listeningSettings();
}

void SimulatedDisplay::setFaults(const Faults& faults)
{
    QMutexLocker lock(&mutex_);
    faults_ = faults;
    device_.faultsChanged();
}

SimulatedDisplay::Faults SimulatedDisplay::faults() const
{
    QMutexLocker lock(&mutex_);
    return faults_;
}

void SimulatedDisplay::setFlash(const DisplayFlash& flash)
{
    QMutexLocker lock(&mutex_);
    device_.setFlash(flash);
}

DisplayFlash SimulatedDisplay::flash() const
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    return device_.flash();
}

QStringList SimulatedDisplay::screen() const
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    return device_.screen();
}

bool SimulatedDisplay::inSetupState() const
{
    QMutexLocker lock(&mutex_);
    return device_.inSetupState();
}

bool SimulatedDisplay::dsrLine() const
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    const double now = clock_.now();
    return line_.carriesDsr(now) && device_.dsr(now);
}

bool SimulatedDisplay::restarting() const
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    return device_.restarting(clock_.now());
}

int SimulatedDisplay::liveBalance() const
{
    QMutexLocker lock(&mutex_);
    return device_.liveBalance();
}

void SimulatedDisplay::setLiveBalance(int balance)
{
    QMutexLocker lock(&mutex_);
    device_.setLiveBalance(balance);
}

int SimulatedDisplay::restarts() const
{
    QMutexLocker lock(&mutex_);
    return device_.restarts();
}

int SimulatedDisplay::acknowledgements() const
{
    QMutexLocker lock(&mutex_);
    return device_.acknowledgements();
}

int SimulatedDisplay::garbageBytes() const
{
    QMutexLocker lock(&mutex_);
    return device_.garbageBytes();
}

QList<SimulatedDisplay::Write> SimulatedDisplay::writes() const
{
    QMutexLocker lock(&mutex_);
    return line_.writes();
}

QByteArray SimulatedDisplay::wire() const
{
    QMutexLocker lock(&mutex_);
    QByteArray all;
    for (const Write& write : line_.writes())
        all += write.bytes;
    return all;
}

void SimulatedDisplay::powerCycle()
{
    QMutexLocker lock(&mutex_);
    advanceLocked();
    device_.restart(clock_.now());
}
