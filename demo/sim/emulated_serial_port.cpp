#include "emulated_serial_port.h"

#include "customer_display_emulator.h"
#include "line_settings.h"

EmulatedSerialPort::EmulatedSerialPort(CustomerDisplayEmulator& emulator, std::function<DemoModel()> model)
    : emulator_(emulator), model_(std::move(model))
{
}

EmulatedSerialPort::~EmulatedSerialPort()
{
    close();
}

bool EmulatedSerialPort::fail(int number, const QString& reason)
{
    error_ = {number, reason};
    return false;
}

bool EmulatedSerialPort::open(const QString& portText, const QString& settings)
{
    if (open_) {
        return fail(PortErrorNumber::InUse, QStringLiteral("The port is already open."));
    }
    if (portText != SimulatedPortText()) {
        return fail(PortErrorNumber::Missing, QStringLiteral("No such simulated port."));
    }
    if (!ParseLineSettings(settings)) {
        return fail(PortErrorNumber::BadSettings, QStringLiteral("The line settings cannot be applied."));
    }
    if (!emulator_.connectLine(model_(), settings)) {
        return fail(PortErrorNumber::InUse, QStringLiteral("The simulated display is in use."));
    }
    open_ = true;
    return true;
}

bool EmulatedSerialPort::write(const QByteArray& bytes)
{
    if (!open_) {
        return fail(PortErrorNumber::WriteFailed, QStringLiteral("The port is not open."));
    }
    emulator_.write(bytes);
    return true;
}

void EmulatedSerialPort::close()
{
    if (open_) {
        open_ = false;
        emulator_.disconnectLine();
    }
}
