#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>

class Pacer;
class SerialLink;
class SimulatedDisplay;

// What vfdctl runs on; tests give a virtual pacer and their own simulated display.
struct VfdctlEnvironment
{
    Pacer* pacer = nullptr;                                    // null: real time
    SimulatedDisplay* simulatedDisplay = nullptr;              // null: a fresh one for "--port sim"
    std::function<std::unique_ptr<SerialLink>()> makeRealLink; // null: a QtSerialLink
    bool stdoutIsTerminal = false;
};

// The whole command line after the program name; returns the exit status.
int vfdctlMain(const QStringList& arguments, QTextStream& out, QTextStream& err,
               const VfdctlEnvironment& environment = {});
