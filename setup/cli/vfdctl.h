#pragma once

#include <QStringList>
#include <QTextStream>
#include <atomic>
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
    // With several ports each has its own pacer and simulated display: these give them by port
    // (null or a null result: a real-time pacer, a fresh simulated display).
    std::function<Pacer*(const QString& port)> pacerFor = {};
    std::function<SimulatedDisplay*(const QString& port)> simulatedDisplayFor = {};
    // The flag that SIGINT and SIGTERM raise (null: none): every port's job hears it as its stop
    // request, and stops at its next frame.
    const std::atomic_bool* stopSignal = nullptr;
    // The ports "--ports all" stands for (null: those the system reports).
    std::function<QStringList()> systemPorts = {};
    // Where apply keeps what it applied to each port (empty: see appliedRecordsFolder()).
    QString stateFolder = {};
    // Where each simulated display keeps its flash between runs, and the lock that lets one program at
    // a time open it (empty: nowhere and none, every run starts from the factory state; the program
    // gives the user's state folder).
    QString simulatedFlashFolder = {};
};

// The whole command line after the program name; returns the exit status.
int vfdctlMain(const QStringList& arguments, QTextStream& out, QTextStream& err,
               const VfdctlEnvironment& environment = {});
