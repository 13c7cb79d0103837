#include "sim/switching_serial_port.h"

#include "sim/emulated_serial_port.h"

#include "core/port_name.h"

SwitchingSerialPort::SwitchingSerialPort(std::unique_ptr<EmulatedSerialPort> simulated,
                                         std::unique_ptr<SerialLink> real)
    : simulated_(std::move(simulated)), real_(std::move(real)), active_(real_.get())
{
}

SwitchingSerialPort::~SwitchingSerialPort() = default;

void SwitchingSerialPort::setDisplayModel(DemoModel model)
{
    simulated_->setDisplayModel(model);
}

void SwitchingSerialPort::setPortName(const QString& name)
{
    // An open port keeps its line until it is closed.
    if (!active_->isOpen()) {
        active_ = isSimulatedPort(name) ? simulated_.get() : real_.get();
    }
    active_->setPortName(name);
}

LinkStatus SwitchingSerialPort::setSettings(const LineSettings& settings)
{
    return active_->setSettings(settings);
}

LinkStatus SwitchingSerialPort::open()
{
    return active_->open();
}

std::unique_ptr<SerialLink> portsWithEmulator(CustomerDisplayEmulator& emulator,
                                              std::unique_ptr<SerialLink> real)
{
    return std::make_unique<SwitchingSerialPort>(std::make_unique<EmulatedSerialPort>(emulator),
                                                 std::move(real));
}
