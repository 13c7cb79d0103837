#pragma once

#include "core/serial_link.h"

#include <QLockFile>
#include <QString>
#include <memory>

// A simulated display's port as programs open it, one program at a time across processes, as a real
// port is: a lock file beside the display's kept flash is taken when the port opens and given back
// when it closes. A second opener (another vfdctl, vfdsetup) is refused as a port in use is refused,
// with the number and text a busy real port gives. A lock left by a process that has ended does not
// count. Everything else is the display's.
class SimulatedPortLock : public SerialLink
{
public:
    // `display` (not owned) must outlive this; `path` is the lock file (see pathFor()).
    SimulatedPortLock(SerialLink& display, const QString& path);
    ~SimulatedPortLock() override;

    // The lock file of the simulated display `port` ("sim", "sim:NAME") kept in `folder`:
    // "sim.lock", "sim-NAME.lock", beside its flash file.
    static QString pathFor(const QString& folder, const QString& port);

    // True once this program has opened the port: what the display holds is then this program's to keep.
    bool everOpened() const { return everOpened_; }

    void setPortName(const QString& name) override { display_.setPortName(name); }
    QString portName() const override { return display_.portName(); }
    LinkStatus setSettings(const LineSettings& settings) override { return display_.setSettings(settings); }
    LineSettings settings() const override { return display_.settings(); }

    LinkStatus open() override;
    void close() override;
    bool isOpen() const override { return display_.isOpen(); }

    LinkStatus write(const QByteArray& bytes) override { return display_.write(bytes); }
    DsrLevel dsr() override { return display_.dsr(); }
    QString dsrUnreadableReason() const override { return display_.dsrUnreadableReason(); }
    qint64 bytesToWrite() override { return display_.bytesToWrite(); }
    bool reportsDsrChanges() const override { return display_.reportsDsrChanges(); }
    DsrEvents dsrEvents() override { return display_.dsrEvents(); }
    void waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop = {}) override
    {
        display_.waitForDsrChange(pacer, since, deadline, stop);
    }

private:
    // Takes the lock, or says who holds it.
    LinkStatus take();

    SerialLink& display_;
    QString path_;
    std::unique_ptr<QLockFile> lock_; // while held
    bool everOpened_ = false;
};
