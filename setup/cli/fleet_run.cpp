#include "setup/cli/fleet_run.h"

#include "core/device_worker.h"
#include "core/pacer.h"
#include "setup/cli/console_dialogs.h"
#include "setup/cli/fleet_console.h"
#include "setup/cli/json_lines.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct PortResult
{
    int status = CliExit::Failed;
    QString failure;
    double seconds = 0;
    bool unchanged = false;
};

QString resultText(const PortResult& result)
{
    if (result.status == CliExit::Ok)
        return result.unchanged ? QStringLiteral("unchanged") : QStringLiteral("ok");
    if (result.status == CliExit::Interrupted)
        return QStringLiteral("interrupted");
    return result.failure.isEmpty() ? QStringLiteral("failed") : result.failure;
}

void printTable(QTextStream& out, const QList<PortTarget>& ports, const QList<PortResult>& results)
{
    int nameWidth = 4;
    int resultWidth = 6;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        nameWidth = std::max(nameWidth, static_cast<int>(ports[i].selection.port.size()));
        resultWidth = std::max(resultWidth, static_cast<int>(resultText(results[i]).size()));
    }
    out << QStringLiteral("port").leftJustified(nameWidth) << "  "
        << QStringLiteral("result").leftJustified(resultWidth) << "  time" << Qt::endl;
    for (qsizetype i = 0; i < ports.size(); ++i)
        out << ports[i].selection.port.leftJustified(nameWidth) << "  "
            << resultText(results[i]).leftJustified(resultWidth) << "  "
            << QString::number(results[i].seconds, 'f', 1) << " s" << Qt::endl;
}

} // namespace

int runFleet(const CliJob& job, const QList<PortTarget>& ports, const QString& command, QTextStream& out,
             QTextStream& err, bool stdoutIsTerminal, bool quiet, JsonLines* json)
{
    QStringList names;
    for (const PortTarget& port : ports)
        names << port.selection.port;
    // With --quiet no live block is drawn: a failure is all that shows.
    FleetConsole console(names, command, out, err, stdoutIsTerminal && !quiet);

    QList<PortResult> results(ports.size());
    std::vector<std::unique_ptr<DeviceWorker>> workers;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        // Each port on a worker of its own; its trace lines carry its name.
        workers.push_back(makePortWorker(ports[i], ports[i].selection.port));
        workers.back()->post([&, i](DevicePort& device) {
            const PortTarget& port = ports[i];
            PortOutputDevice outDevice(console, static_cast<int>(i), false);
            PortOutputDevice errDevice(console, static_cast<int>(i), true);
            QTextStream portOut(&outDevice);
            QTextStream portErr(&errDevice);
            ConsoleDialogs dialogs(portOut, portErr);
            dialogs.quiet = quiet;
            Pacer& pacer = *port.pacer;
            const double start = pacer.now();
            JobReport report;
            results[i].status = runJobOnPort(job, device, port, portOut, portErr, dialogs, &report);
            results[i].seconds = pacer.now() - start;
            results[i].failure = dialogs.firstFailure();
            results[i].unchanged = report.unchanged;
            if (json)
                json->portEnded(port.selection.port, results[i].status, dialogs, report, results[i].seconds);
            portOut.flush();
            portErr.flush();
        });
    }
    for (const auto& worker : workers)
        worker->waitForIdle();

    if (!quiet)
        printTable(out, ports, results);
    int status = CliExit::Ok;
    for (const PortResult& result : results) {
        if (result.status == CliExit::Interrupted) {
            status = CliExit::Interrupted;
            break;
        }
        if (result.status != CliExit::Ok)
            status = CliExit::Failed;
    }
    if (json)
        json->summary(status);
    return status;
}
