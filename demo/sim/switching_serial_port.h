#pragma once

#include "model/modelled_link.h"

#include "core/serial_link.h"

#include <memory>

class CustomerDisplayEmulator;
class EmulatedSerialPort;

// What vfddemo opens: the simulated display when the port name is "sim", the real port otherwise. The
// choice is made afresh at every open.
class SwitchingSerialPort : public SerialLink, public ModelledLink
{
public:
    SwitchingSerialPort(std::unique_ptr<EmulatedSerialPort> simulated, std::unique_ptr<SerialLink> real);
    ~SwitchingSerialPort() override;

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
    // The model the simulated display takes the part of at its next open.
    void setDisplayModel(DemoModel model) override;

private:
    std::unique_ptr<EmulatedSerialPort> simulated_;
    std::unique_ptr<SerialLink> real_;
    SerialLink* active_;
};

// vfddemo's link: it reaches `emulator` (as the model each opening job names) or the `real` port.
std::unique_ptr<SerialLink> portsWithEmulator(CustomerDisplayEmulator& emulator,
                                              std::unique_ptr<SerialLink> real);
