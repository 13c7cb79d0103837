#pragma once

#include "serial_port.h"

#include <functional>
#include <memory>

class CustomerDisplayEmulator;
struct DemoPortState;

// What vfddemo opens: the simulated display when the port text names it, the real port otherwise. The
// choice is made afresh at every open.
class SwitchingSerialPort : public SerialPort
{
public:
    SwitchingSerialPort(std::unique_ptr<SerialPort> simulated, std::unique_ptr<SerialPort> real);

    bool open(const QString& portText, const QString& settings) override;
    bool write(const QByteArray& bytes) override { return active_->write(bytes); }
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    PortError error() const override { return active_->error(); }

private:
    std::unique_ptr<SerialPort> simulated_;
    std::unique_ptr<SerialPort> real_;
    SerialPort* active_;
};

// Makes vfddemo's ports: each reaches `emulator` (as the model `state` names when it opens) or a port
// from `real`.
std::function<std::unique_ptr<SerialPort>()>
PortsWithEmulator(CustomerDisplayEmulator& emulator, const DemoPortState& state,
                  std::function<std::unique_ptr<SerialPort>()> real);
