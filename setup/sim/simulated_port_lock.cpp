#include "setup/sim/simulated_port_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// How old a lock file that names no owner must be to count as the remains of an ended program.
constexpr qint64 kUnnamedLockMs = 5000;

} // namespace

SimulatedPortLock::SimulatedPortLock(SerialLink& display, const QString& path)
    : display_(display), path_(path)
{
}

SimulatedPortLock::~SimulatedPortLock() = default;

QString SimulatedPortLock::pathFor(const QString& folder, const QString& port)
{
    return folder + QLatin1Char('/') + QString(port).replace(QLatin1Char(':'), QLatin1Char('-')) +
           QStringLiteral(".lock");
}

LinkStatus SimulatedPortLock::open()
{
    if (!display_.isOpen() && !lock_) {
        if (const LinkStatus taken = take(); !taken.ok())
            return taken;
    }
    const LinkStatus opened = display_.open();
    if (opened.ok())
        everOpened_ = true;
    else if (!display_.isOpen())
        lock_.reset();
    return opened;
}

void SimulatedPortLock::close()
{
    display_.close();
    lock_.reset();
}

LinkStatus SimulatedPortLock::take()
{
    QDir().mkpath(QFileInfo(path_).path());
    auto lock = std::make_unique<QLockFile>(path_);
    // Held for as long as the port is open, however long that is: only an ended holder makes it stale.
    lock->setStaleLockTime(0);
    bool held = lock->tryLock(0);
    qint64 pid = 0;
    QString host, program;
    if (!held && lock->error() == QLockFile::LockFailedError && !lock->getLockInfo(&pid, &host, &program)) {
        // A lock file that names no owner is being written this moment, or was left by a program
        // that ended while it wrote it.
        const QDateTime written = QFileInfo(path_).lastModified();
        held = written.isValid() && written.msecsTo(QDateTime::currentDateTime()) > kUnnamedLockMs &&
               lock->removeStaleLockFile() && lock->tryLock(0);
    }
    if (held) {
        lock_ = std::move(lock);
        return LinkStatus::success();
    }
    // Where the lock cannot be made at all (a read-only state folder), the display is used without one,
    // as it is used without the flash it cannot keep there: refusing it would end work that harms nobody.
    if (lock->error() != QLockFile::LockFailedError)
        return LinkStatus::success();
    const QString holder =
        pid > 0 ? QStringLiteral(": held by %1 (process %2)").arg(program).arg(pid) : QString();
    return LinkStatus::failure(LinkFailure::PortBusy, QStringLiteral("Device or resource busy") + holder);
}
