// Simulated displays for runs with several ports: each port its own display and its own virtual
// clock, and the vfdctl environment that hands them out by port.
#pragma once

#include "setup/tests/vfdctl_run.h"

#include <map>

struct Station
{
    explicit Station(std::unique_ptr<VirtualPacer> clock = std::make_unique<VirtualPacer>())
        : pacer(std::move(clock)), display(*pacer)
    {
    }
    std::unique_ptr<VirtualPacer> pacer;
    SimulatedDisplay display;
};

struct Stations
{
    std::map<QString, Station> byPort;
    QString stateFolder = {}; // where apply keeps its records (empty: a folder of the test's own)

    Station& at(const QString& port) { return byPort.try_emplace(port).first->second; }
    // Runs vfdctl with `arguments`, a station for each simulated port they name; `stopSignal` (optional) is
    // the flag a signal raises. Other ports get no station: vfdctl opens them as real ports.
    VfdctlRun run(const QStringList& arguments, const std::atomic_bool* stopSignal = nullptr)
    {
        for (const QString& word : arguments)
            for (const QString& port : word.split(QLatin1Char(',')))
                if (port.startsWith(QLatin1String("sim")) && !port.contains(QLatin1Char('=')))
                    at(port);
        VfdctlEnvironment environment;
        environment.pacerFor = [this](const QString& port) -> Pacer* {
            return byPort.count(port) ? byPort.at(port).pacer.get() : nullptr;
        };
        environment.simulatedDisplayFor = [this](const QString& port) -> SimulatedDisplay* {
            return byPort.count(port) ? &byPort.at(port).display : nullptr;
        };
        environment.stopSignal = stopSignal;
        environment.stateFolder = stateFolder;
        return runVfdctl(arguments, environment);
    }
};
