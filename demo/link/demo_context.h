#pragma once

#include "demo/model/demo_port_state.h"

#include <QList>
#include <QString>
#include <functional>

class DeviceWorker;
class Dialogs;
class ModelledLink;
class Pacer;

// A port the operating system reports, offered beside the COM options.
struct SystemPortEntry
{
    QString name;        // what is opened: "/dev/ttyUSB0", "COM12"
    QString description; // the USB or driver description, possibly empty
};

// Everything a window needs from outside: the shared port state, the device worker that reaches the
// port, time, the person's dialogs, the system's port list, and how the program ends.
struct DemoContext
{
    DemoPortState state;
    DeviceWorker* portWorker = nullptr;
    // The display at the end of "sim" (null when the run has none): each job that opens the port tells
    // it, on the worker's thread, the model to play.
    ModelledLink* simulatedDisplay = nullptr;
    // Hears, on the worker's thread, each pause of the port work begin (tests hold the pause there).
    std::function<void(int ms)> pauseWatcher;
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
