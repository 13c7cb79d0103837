#pragma once

#include "model/demo_port_state.h"

#include <QList>
#include <QString>
#include <functional>

class Dialogs;
class Pacer;
class PortWorker;

// A port the operating system reports, offered beside the COM options.
struct SystemPortEntry
{
    QString name;        // what is opened: "/dev/ttyUSB0", "COM12"
    QString description; // the USB or driver description, possibly empty
};

// Everything a window needs from outside: the shared port state, the worker thread that reaches the
// port, time, the person's dialogs, the system's port list, and how the program ends.
struct DemoContext
{
    DemoPortState state;
    PortWorker* portWorker = nullptr;
    Pacer* pacer = nullptr; // the local time of day
    Dialogs* dialogs = nullptr;
    std::function<QList<SystemPortEntry>()> systemPorts;
    std::function<void()> endProgram;
};

// The title the input boxes carry.
inline QString demoProgramTitle()
{
    return QStringLiteral("vfddemo");
}
