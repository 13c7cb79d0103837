#pragma once

#include "setup/cli/cli_command.h"
#include "setup/protocol/port_selection.h"

#include <atomic>
#include <functional>
#include <memory>

class DevicePort;
class DeviceWorker;
class OperationDialogs;
class Pacer;
class SerialLink;
class SimulatedDisplay;

// One port of a run and everything a run on it works with.
struct PortTarget
{
    PortSelection selection;                      // its port: the name as given (a fleet's trace label)
    Pacer* pacer = nullptr;                       // the port's own time
    SimulatedDisplay* simulatedDisplay = nullptr; // set for a simulated port
    SerialLink* simulatedPort = nullptr;          // how it is opened (null: the display itself)
    std::function<std::unique_ptr<SerialLink>()> makeRealLink;
    const std::atomic_bool* stopSignal = nullptr; // raised by SIGINT or SIGTERM: each job's stop hears it
    bool stdoutIsTerminal = false;
    bool quiet = false;
};

// The device worker a port runs on: its own link and pacer, stopped by the run's stop request, its
// trace lines starting with `traceLabel` (a fleet's port name).
std::unique_ptr<DeviceWorker> makePortWorker(const PortTarget& target, const QString& traceLabel = {});

// Runs a command's job on the worker's port (on the worker's thread), which the worker then closes. A
// job that a stop request ended (it gives CliExit::Interrupted) is followed by what was done and the
// state the display is left in, on `err`. What the job tells beyond its status goes to `report`.
int runJobOnPort(const CliJob& job, DevicePort& port, const PortTarget& target, QTextStream& out,
                 QTextStream& err, OperationDialogs& dialogs, JobReport* report = nullptr);

// The same on a single port, on a worker of its own; returns once the port is closed.
int runJobOnPort(const CliJob& job, const PortTarget& target, QTextStream& out, QTextStream& err,
                 OperationDialogs& dialogs);
