#pragma once

#include "core/serial_link.h"

#include <memory>

// The link a program's port jobs go through: the built-in simulated display when the port is named
// "sim" (or "sim:NAME"), the real port otherwise. The choice is made afresh whenever the port is named
// while closed; an open port keeps its line until it is closed.
class SwitchingLink : public SerialLink
{
public:
    // `simulated` (not owned; may be null: then every name goes to the real port) must outlive this.
    SwitchingLink(SerialLink* simulated, std::unique_ptr<SerialLink> real);

    void setPortName(const QString& name) override;
    QString portName() const override { return active_->portName(); }
    LinkStatus setSettings(const LineSettings& settings) override { return active_->setSettings(settings); }
    LineSettings settings() const override { return active_->settings(); }

    LinkStatus open() override { return active_->open(); }
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }

    LinkStatus write(const QByteArray& bytes) override { return active_->write(bytes); }
    DsrLevel dsr() override { return active_->dsr(); }
    QString dsrUnreadableReason() const override { return active_->dsrUnreadableReason(); }
    qint64 bytesToWrite() override { return active_->bytesToWrite(); }
    bool reportsDsrChanges() const override { return active_->reportsDsrChanges(); }
    DsrEvents dsrEvents() override { return active_->dsrEvents(); }
    void waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop = {}) override
    {
        active_->waitForDsrChange(pacer, since, deadline, stop);
    }

private:
    SerialLink* simulated_;
    std::unique_ptr<SerialLink> real_;
    SerialLink* active_;
};
