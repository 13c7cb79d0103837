// Simulated displays for runs with several ports: each port its own display and its own virtual
// clock, and the vfdctl environment that hands them out by port.
#pragma once

#include "vfdctl_run.h"

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
    std::map<QString, std::unique_ptr<Station>> byPort;

    Station& at(const QString& port)
    {
        auto& station = byPort[port];
        if (!station)
            station = std::make_unique<Station>();
        return *station;
    }

    // Runs vfdctl with `arguments` on these stations; `stop` (optional) is the stop request.
    VfdctlRun run(const QStringList& arguments, const std::atomic_bool* stop = nullptr)
    {
        for (const QString& word : arguments)
            for (const QString& port : word.split(QLatin1Char(',')))
                if (port.startsWith(QLatin1String("sim")) && !port.contains(QLatin1Char('=')))
                    at(port);
        VfdctlEnvironment environment;
        environment.pacerFor = [this](const QString& port) -> Pacer* {
            return byPort.count(port) ? byPort[port]->pacer.get() : nullptr;
        };
        environment.simulatedDisplayFor = [this](const QString& port) -> SimulatedDisplay* {
            return byPort.count(port) ? &byPort[port]->display : nullptr;
        };
        environment.stop = stop;
        VfdctlRun run;
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        run.status = vfdctlMain(arguments, out, err, environment);
        out.flush();
        err.flush();
        return run;
    }
};
