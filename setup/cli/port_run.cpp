#include "setup/cli/port_run.h"

#include "setup/protocol/display_wiring.h"
#include "setup/sim/simulated_display.h"

std::unique_ptr<DeviceWorker> makePortWorker(const PortTarget& target, const QString& traceLabel)
{
    SerialLink* simulated = target.simulatedPort;
    if (!simulated)
        simulated = target.simulatedDisplay;
    return makeDisplayWorker(simulated, target.makeRealLink, *target.pacer,
                             {.traceLabel = traceLabel, .stopSignal = target.stopSignal});
}

int runJobOnPort(const CliJob& job, DevicePort& port, const PortTarget& target, QTextStream& out,
                 QTextStream& err, OperationDialogs& dialogs, JobReport* report)
{
    DisplayAccess access = displayAccess(port, dialogs, target.selection);
    PortRun run{access, target, out, err};
    const int status = job(run);
    if (status == CliExit::Interrupted)
        err << run.interruption << Qt::endl;
    if (report)
        *report = run.report;
    return status;
}

int runJobOnPort(const CliJob& job, const PortTarget& target, QTextStream& out, QTextStream& err,
                 OperationDialogs& dialogs)
{
    int status = CliExit::Failed;
    const std::unique_ptr<DeviceWorker> worker = makePortWorker(target);
    worker->post([&](DevicePort& port) { status = runJobOnPort(job, port, target, out, err, dialogs); });
    worker->waitForIdle();
    return status;
}
