#pragma once

#include "core/serial_link.h"

#include <memory>

class CustomerDisplayEmulator;
struct DemoPortState;

// What vfddemo opens: the simulated display when the port name is "sim", the real port otherwise. The
// choice is made afresh at every open.
class SwitchingSerialPort : public SerialLink
{
public:
    SwitchingSerialPort(std::unique_ptr<SerialLink> simulated, std::unique_ptr<SerialLink> real);

    void setPortName(const QString& name) override;
    QString portName() const override { return active_->portName(); }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return active_->settings(); }

    LinkStatus open() override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }

    LinkStatus write(const QByteArray& bytes) override { return active_->write(bytes); }
    bool dsr() override { return active_->dsr(); }
    qint64 bytesToWrite() override { return active_->bytesToWrite(); }

private:
    std::unique_ptr<SerialLink> simulated_;
    std::unique_ptr<SerialLink> real_;
    SerialLink* active_;
};

// vfddemo's link: it reaches `emulator` (as the model `state` names when it opens) or the `real` port.
std::unique_ptr<SerialLink> portsWithEmulator(CustomerDisplayEmulator& emulator, const DemoPortState& state,
                                              std::unique_ptr<SerialLink> real);
