#pragma once

#include "demo/model/modelled_link.h"

#include "core/serial_link.h"

class CustomerDisplayEmulator;

// A SerialLink whose line ends in the emulator, connected to the model last set when the port opens. It
// fails as a real port would: a name other than "sim" does not exist, and an open while another port
// holds the line finds it busy. It may be used from the port worker's thread: the line is taken at once,
// and the model, the settings and every byte are handed to the emulator on its own (GUI) thread, in
// order.
class EmulatedSerialPort : public SerialLink, public ModelledLink
{
public:
    explicit EmulatedSerialPort(CustomerDisplayEmulator& emulator);
    ~EmulatedSerialPort() override;

    // The line: taken from the emulator by open(), its bytes handed over by write().
    LinkStatus open() override;
    LinkStatus write(const QByteArray& bytes) override;
    void close() override;
    bool isOpen() const override { return open_; }
    // The customer displays send nothing back; DSR is held while the line is connected.
    DsrLevel dsr() override { return open_ ? DsrLevel::High : DsrLevel::Low; }
    // The emulator takes every byte at once.
    qint64 bytesToWrite() override { return 0; }

    // Only "sim" opens; the settings go to the KD-317, whose self-test shows them.
    void setPortName(const QString& name) override { portName_ = name; }
    QString portName() const override { return portName_; }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return settings_; }
    void setDisplayModel(DisplayProduct model) override { model_ = model; }

private:
    CustomerDisplayEmulator& emulator_;
    DisplayProduct model_ = DisplayProduct::KD317;
    QString portName_;
    LineSettings settings_;
    bool open_ = false;
};
