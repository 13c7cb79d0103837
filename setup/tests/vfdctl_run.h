// Runs vfdctl through its main entry against the simulated display in virtual time, keeping its
// exit status and what it printed, as the command-line tests read them.
#pragma once

#include "core/pacer.h"
#include "device_bench.h"
#include "sim/simulated_display.h"

#include <QTextStream>

inline VfdctlRun RunVfdctl(const QStringList& arguments, VirtualPacer& pacer, SimulatedDisplay& display,
                           std::function<std::unique_ptr<SerialLink>()> makeRealLink = {},
                           bool stdoutIsTerminal = false)
{
    VfdctlRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = vfdctlMain(arguments, out, err,
                            VfdctlEnvironment{&pacer, &display, std::move(makeRealLink), stdoutIsTerminal});
    out.flush();
    err.flush();
    return run;
}
