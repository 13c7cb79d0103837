#include "switching_serial_port.h"

#include "demo_port_state.h"
#include "emulated_serial_port.h"

SwitchingSerialPort::SwitchingSerialPort(std::unique_ptr<SerialPort> simulated,
                                         std::unique_ptr<SerialPort> real)
    : simulated_(std::move(simulated)), real_(std::move(real)), active_(real_.get())
{
}

bool SwitchingSerialPort::open(const QString& portText, const QString& settings)
{
    if (active_->isOpen()) {
        return active_->open(portText, settings);
    }
    active_ = portText == SimulatedPortText() ? simulated_.get() : real_.get();
    return active_->open(portText, settings);
}

std::function<std::unique_ptr<SerialPort>()>
PortsWithEmulator(CustomerDisplayEmulator& emulator, const DemoPortState& state,
                  std::function<std::unique_ptr<SerialPort>()> real)
{
    return [&emulator, &state, real = std::move(real)]() -> std::unique_ptr<SerialPort> {
        auto simulated =
            std::make_unique<EmulatedSerialPort>(emulator, [&state] { return state.DemoDisplayModel; });
        return std::make_unique<SwitchingSerialPort>(std::move(simulated), real());
    };
}
