#include "demo/emulators/emulated_serial_port.h"

#include "demo/emulators/customer_display_emulator.h"

#include "core/cross_thread_call.h"
#include "core/port_name.h"

EmulatedSerialPort::EmulatedSerialPort(CustomerDisplayEmulator& emulator) : emulator_(emulator) {}

EmulatedSerialPort::~EmulatedSerialPort()
{
    close();
}

LinkStatus EmulatedSerialPort::setSettings(const LineSettings& settings)
{
    settings_ = settings;
    return LinkStatus::success();
}

LinkStatus EmulatedSerialPort::open()
{
    if (open_) {
        return LinkStatus::failure(LinkFailure::PortOpenHere, QStringLiteral("The port is already open."));
    }
    if (!isSimulatedPort(portName_)) {
        return LinkStatus::failure(LinkFailure::PortMissing, QStringLiteral("No such simulated port."));
    }
    if (!emulator_.claimLine()) {
        return LinkStatus::failure(LinkFailure::PortBusy, QStringLiteral("The simulated display is in use."));
    }
    open_ = true;
    invokeAcrossThreads(&emulator_, [emulator = &emulator_, model = model_, settings = settings_] {
        emulator->connectLine(model, settings);
    });
    return LinkStatus::success();
}

LinkStatus EmulatedSerialPort::write(const QByteArray& bytes)
{
    if (!open_) {
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("The port is not open."));
    }
    invokeAcrossThreads(&emulator_, [emulator = &emulator_, bytes] { emulator->write(bytes); });
    return LinkStatus::success();
}

void EmulatedSerialPort::close()
{
    if (open_) {
        open_ = false;
        emulator_.disconnectLine();
    }
}
