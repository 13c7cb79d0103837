#pragma once

#include "cli/cli_command.h"
#include "protocol/port_selection.h"

#include <atomic>
#include <functional>
#include <memory>

class OperationDialogs;
class Pacer;
class SerialLink;
class SimulatedDisplay;

// Everything one port's run works with.
struct PortTarget
{
    PortSelection selection;
    Pacer* pacer = nullptr;                       // the port's own time
    SimulatedDisplay* simulatedDisplay = nullptr; // set for a simulated port
    std::function<std::unique_ptr<SerialLink>()> makeRealLink;
    const std::atomic_bool* stop = nullptr;
    bool stdoutIsTerminal = false;
    bool quiet = false;
};

// Runs a command's job on one port through a traced link, and closes the port afterwards. A job
// that a stop request ended (it gives CliExit::Interrupted) is followed by what was done and the
// state the display is left in, on `err`.
int runJobOnPort(const CliJob& job, const PortTarget& target, QTextStream& out, QTextStream& err,
                 OperationDialogs& dialogs);
