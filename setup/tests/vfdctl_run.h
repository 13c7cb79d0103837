// vfdctl run through its main entry as a test runs it: on the bench's simulated display or on the
// environment a test gives, keeping its exit status and what it printed.
#pragma once

#include "setup/cli/vfdctl.h"
#include "setup/tests/device_bench.h"

#include <QTextStream>

struct VfdctlRun
{
    int status = -1;
    QString out;
    QString err;
};

// vfdctl through its main entry in `environment`, keeping its exit status and what it printed.
// Apply's records go to a folder of the test's own unless the environment names one.
inline VfdctlRun runVfdctl(const QStringList& arguments, VfdctlEnvironment environment)
{
    static const QTemporaryDir kRecords;
    if (environment.stateFolder.isEmpty())
        environment.stateFolder = kRecords.path();
    VfdctlRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = vfdctlMain(arguments, out, err, environment);
    out.flush();
    err.flush();
    return run;
}

// vfdctl on the bench's display and pacer.
inline VfdctlRun runVfdctl(Bench& bench, const QStringList& arguments, bool terminal = false,
                           std::function<std::unique_ptr<SerialLink>()> makeRealLink = {})
{
    return runVfdctl(arguments, {&bench.pacer, &bench.display, std::move(makeRealLink), terminal});
}
