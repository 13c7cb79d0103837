#pragma once

#include "demo_port_state.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class DemoClock;
class DemoDialogs;
class SerialPort;

// A port the operating system reports, offered beside the COM options.
struct SystemPortEntry
{
    QString name;        // what is opened: "/dev/ttyUSB0", "COM12"
    QString description; // the USB or driver description, possibly empty
};

// Everything a window needs from outside: the shared port state, a way to make ports, time, the
// person's dialogs, the system's port list, and how the program ends.
struct DemoContext
{
    DemoPortState state;
    std::function<std::unique_ptr<SerialPort>()> makePort;
    DemoClock* clock = nullptr;
    DemoDialogs* dialogs = nullptr;
    std::function<QList<SystemPortEntry>()> systemPorts;
    std::function<void()> endProgram;
};

// The system's ports through QSerialPortInfo.
QList<SystemPortEntry> ListSystemPorts();
