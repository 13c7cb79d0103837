#pragma once

#include "demo_model.h"
#include "serial_port.h"

#include <functional>

class CustomerDisplayEmulator;

// The port text that stands for the simulated display.
inline QString SimulatedPortText()
{
    return QStringLiteral("SIM");
}

// A SerialPort whose line ends in the emulator, connected to the model `model()` names at the moment the
// port opens. It fails as a real port would: a name other than SimulatedPortText() does not exist, a
// malformed settings text is refused, and a second open while another holds the line finds it busy.
class EmulatedSerialPort : public SerialPort
{
public:
    EmulatedSerialPort(CustomerDisplayEmulator& emulator, std::function<DemoModel()> model);
    ~EmulatedSerialPort() override;

    bool open(const QString& portText, const QString& settings) override;
    bool write(const QByteArray& bytes) override;
    void close() override;
    bool isOpen() const override { return open_; }
    PortError error() const override { return error_; }

private:
    bool fail(int number, const QString& reason);

    CustomerDisplayEmulator& emulator_;
    std::function<DemoModel()> model_;
    bool open_ = false;
    PortError error_;
};
