#include "setup/cli/vfdctl.h"

#include "core/pacer.h"
#include "core/port_name.h"
#include "core/qt_serial_link.h"
#include "core/quoted_value.h"
#include "core/version.h"
#include "core/wire_text.h"
#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/console_dialogs.h"
#include "setup/cli/failure_hints.h"
#include "setup/cli/fleet_run.h"
#include "setup/cli/global_options.h"
#include "setup/cli/json_lines.h"
#include "setup/cli/port_run.h"
#include "setup/sim/display_summary.h"
#include "setup/sim/simulated_display.h"
#include "setup/sim/simulated_flash_file.h"
#include "setup/sim/simulated_port_lock.h"

#include <QFile>
#include <QLoggingCategory>
#include <algorithm>

namespace {

// Names separated by commas on lines of at most 100 characters, each indented to the overview's text.
QString indentedList(const QStringList& names)
{
    const QString indent(18, QLatin1Char(' '));
    QString text, line = indent;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = names.at(i) + (i + 1 < names.size() ? QStringLiteral(",") : QString());
        if (line.size() > indent.size() && line.size() + 1 + name.size() > 100) {
            text += line + QLatin1Char('\n');
            line = indent;
        }
        line += (line.size() > indent.size() ? QStringLiteral(" ") : QString()) + name;
    }
    return text + line + QLatin1Char('\n');
}

QString overview()
{
    QString text =
        QStringLiteral(
            "Usage: vfdctl [--port PORT]... [--ports LIST] [--baud RATE] [--format P,D,S] [--encoding NAME]\n"
            "              [--trace] [--quiet] [--show] [--json] [--sim-fault PORT=FAULT]... [--sim-reset]\n"
            "              COMMAND ...\n"
            "\n"
            "Configures and services Talvex VQ71xx customer displays over serial ports, one or many at "
            "once.\n"
            "\n"
            "Global options (before the command):\n"
            "  --port PORT     COM1..COMn, a system port such as /dev/ttyUSB0, sim or sim:NAME (default\n"
            "                  COM1); give it again for more ports\n"
            "  --ports LIST    more ports, comma-separated (COM3,COM4,sim:a), or all: every port the\n"
            "                  system reports\n"
            "  --baud RATE     the display's current rate: 4800, 9600, 19200, 38400, 115200 (default 9600)\n"
            "  --format P,D,S  parity, data bits, stop bits, e.g. N,8,1 (default N,8,1)\n"
            "  --encoding NAME the text encoding of the display's code page (default %1), one of\n"
            "%2"
            "  --trace         print every write and DSR change with a millisecond timestamp on stderr\n"
            "  --quiet         print nothing on success, not even progress (failures still go to\n"
            "                  stderr)\n"
            "  --json          results as JSON lines on stdout: one a port as it ends, then a summary\n"
            "                  (usage errors stay text on stderr); see vfdctl(1)\n"
            "  --show          at the end, print what each simulated display shows and holds (its screen\n"
            "                  as a 2x20 box, then its flash), also with several ports or --quiet;\n"
            "                  without it a single sim port prints this unless --quiet\n"
            "  --sim-fault PORT=FAULT\n"
            "                  start the simulated display PORT (sim or sim:NAME, a port of the run)\n"
            "                  with the fault FAULT, one of absent, no-ack, no-ack-after:N (only the\n"
            "                  first N frames acknowledged), dsr-late\n"
            "  --sim-reset     start every simulated display of the run from the factory state. Without\n"
            "                  it each keeps its flash (rate, code page, title, DEMO, firmware, balance)\n"
            "                  from run to run, in the folder talvex-display-tools/simulated-displays\n"
            "                  of $XDG_STATE_HOME (default ~/.local/state)\n"
            "  --help, -h      this text; 'vfdctl COMMAND --help' for a command\n"
            "  --version       the program's version\n"
            "  --              the end of the options, here or after the command: the words after it\n"
            "                  are none, so that a line may start with \"-\"\n"
            "                  (vfdctl title write -- \"--- Welcome ---\" \"\")\n"
            "\n"
            "Commands:\n")
            .arg(WireEncoding().name(), indentedList(WireEncoding::offeredNames()));
    for (const CliCommand& command : cliCommands())
        for (const QString& line : command.synopsis.split(QLatin1Char('\n')))
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    text += QStringLiteral(
        "\n"
        "Several ports: the command runs on all of them at once, each port exactly as alone. On a\n"
        "terminal each port has a live line; otherwise every line starts with its port. A table of\n"
        "each port's result and time follows. sim and each sim:NAME are separate simulated displays.\n"
        "\n"
        "SIGINT (Ctrl+C) or SIGTERM stops every port at its next frame and closes it; what was done\n"
        "and the state the display is left in go to stderr. A second signal ends vfdctl at once.\n"
        "\n"
        "Exit status: 0 success (on every port), 1 the device or a file failed (on any port), 2 usage\n"
        "error (also a title line the display cannot show), 130 interrupted.\n");
    return text;
}

// The ports the system reports, by the names they are opened with.
QStringList systemPortNames()
{
    QStringList names;
    for (const auto& [name, description] : QtSerialLink::systemPorts())
        names << name;
    return names;
}

// The ports of a run, each with its own pacer and, for a simulated port, its own display.
struct RunPorts
{
    std::vector<std::unique_ptr<Pacer>> ownPacers;
    std::vector<std::unique_ptr<SimulatedDisplay>> ownDisplays;
    // Each simulated display kept between runs is opened by one program at a time.
    std::vector<std::unique_ptr<SimulatedPortLock>> locks;
    QList<PortTarget> ports;
};

// A simulated display starts from the flash its last run kept or, with --sim-reset, from the factory
// state. A kept file that cannot be used is said once, unless --quiet, and the display starts afresh.
// Started afresh, it no longer holds what apply last applied to it: that record is forgotten, and
// the reason is given when it cannot be.
QString startFromKeptFlash(const QString& port, SimulatedDisplay& display, const GlobalOptions& options,
                           const VfdctlEnvironment& env, const QString& recordsFolder, QTextStream& err)
{
    const QString& folder = env.simulatedFlashFolder;
    if (options.simReset) {
        display.setFlash({});
    } else if (folder.isEmpty()) {
        return {};
    } else {
        const SimulatedFlashFile file(folder, port);
        const QString problem = file.restore(display);
        if (!problem.isEmpty() && !options.quiet)
            err << "vfdctl: " << port << " starts from the factory state: " << problem << Qt::endl;
        if (problem.isEmpty() && QFile::exists(file.path()))
            return {};
    }
    return AppliedRecords(recordsFolder).forget(port);
}

// What each simulated display holds at the end of the run is what the next run starts from, unless
// the run never opened it (another program held it): what that program leaves is kept instead. False
// when one could not be kept (said on `err`): the next run would meet an older display.
bool keepFlash(const RunPorts& run, const QString& folder, QTextStream& err)
{
    bool kept = true;
    if (folder.isEmpty())
        return kept;
    for (const PortTarget& port : run.ports) {
        const bool neverOpened = std::any_of(run.locks.begin(), run.locks.end(), [&port](const auto& lock) {
            return lock.get() == port.simulatedPort && !lock->everOpened();
        });
        if (!port.simulatedDisplay || neverOpened)
            continue;
        const QString error = SimulatedFlashFile(folder, port.selection.port).keep(*port.simulatedDisplay);
        if (!error.isEmpty())
            err << "vfdctl: the flash of " << port.selection.port << " is not kept: " << error << Qt::endl;
        kept = kept && error.isEmpty();
    }
    return kept;
}

// The reason when a simulated display's record cannot be forgotten (then nothing may be sent).
QString preparePorts(const GlobalOptions& options, const VfdctlEnvironment& env, const QString& recordsFolder,
                     RunPorts& run, QTextStream& err)
{
    const bool single = options.ports.size() == 1;
    for (const QString& port : options.ports) {
        PortTarget target;
        target.selection = options.selection;
        target.selection.port = port;
        target.pacer = single && env.pacer ? env.pacer : env.pacerFor ? env.pacerFor(port) : nullptr;
        if (!target.pacer)
            target.pacer = run.ownPacers.emplace_back(std::make_unique<RealPacer>()).get();
        if (isSimulatedPort(port)) {
            SimulatedDisplay* simulated = single && env.simulatedDisplay ? env.simulatedDisplay
                                          : env.simulatedDisplayFor      ? env.simulatedDisplayFor(port)
                                                                         : nullptr;
            if (!simulated)
                simulated =
                    run.ownDisplays.emplace_back(std::make_unique<SimulatedDisplay>(*target.pacer)).get();
            if (options.simFaults.contains(port))
                simulated->setFaults(options.simFaults.value(port));
            if (const QString reason = startFromKeptFlash(port, *simulated, options, env, recordsFolder, err);
                !reason.isEmpty())
                return QStringLiteral("nothing was sent to %1: %2").arg(port, reason);
            target.simulatedDisplay = simulated;
            if (!env.simulatedFlashFolder.isEmpty())
                target.simulatedPort =
                    run.locks
                        .emplace_back(std::make_unique<SimulatedPortLock>(
                            *simulated, SimulatedPortLock::pathFor(env.simulatedFlashFolder, port)))
                        .get();
        }
        target.makeRealLink = env.makeRealLink;
        target.stopSignal = env.stopSignal;
        target.stdoutIsTerminal = env.stdoutIsTerminal;
        target.quiet = options.quiet;
        run.ports.append(target);
    }
    return {};
}

// What each simulated display now shows and holds: on a single port unless --quiet, with --show on
// every port whatever else was asked.
void printSimulatedDisplays(const QList<PortTarget>& ports, const GlobalOptions& options, QTextStream& out)
{
    const bool single = ports.size() == 1;
    if (options.json || (!options.show && (options.quiet || !single)))
        return;
    for (const PortTarget& port : ports) {
        if (!port.simulatedDisplay)
            continue;
        if (!single)
            out << port.selection.port << ":\n";
        out << simulatedDisplaySummary(*port.simulatedDisplay);
    }
    out.flush();
}

// The words of a command that may be options: those before a "--".
QStringList optionWords(const QStringList& words)
{
    return words.mid(0, words.indexOf(QLatin1String("--")));
}

// Refused before any port was opened (or a command without one): only the refusal is printed. With
// --json, a file refused fails every port of the run alike.
int endWithoutPorts(const CliPlan& plan, const GlobalOptions& options, const QStringList& rest,
                    const ConsoleDialogs& dialogs, CliContext& context, JsonLines& json)
{
    if (options.json && plan.status == CliExit::Failed) {
        for (const QString& port : options.ports)
            json.portEnded(port, plan.status, dialogs, context.report, 0);
        json.summary(plan.status);
    }
    const QStringList given = optionWords(rest);
    const auto global = std::find_if(given.begin(), given.end(), isGlobalOption);
    if (plan.status == CliExit::Usage && global != given.end())
        context.err << "  "
                    << failureHint(FailureKey::GlobalOptionAfterCommand,
                                   {{}, {}, {}, global->section('=', 0, 0)})
                    << Qt::endl;
    return plan.status;
}

} // namespace

int vfdctlMain(const QStringList& arguments, QTextStream& out, QTextStream& err, const VfdctlEnvironment& env)
{
    GlobalOptions options;
    if (const std::optional<int> ended =
            readGlobalOptions(arguments, env.systemPorts ? env.systemPorts : systemPortNames, err, options))
        return *ended;
    if (options.help || options.version) {
        out << (options.help ? overview() : QStringLiteral("vfdctl %1\n").arg(ProjectVersion::kText))
            << Qt::flush;
        return CliExit::Ok;
    }
    if (options.commandAt >= arguments.size()) {
        err << overview() << Qt::flush;
        return CliExit::Usage;
    }
    const QString commandName = arguments.at(options.commandAt);
    const QStringList rest = arguments.mid(options.commandAt + 1);
    const QList<CliCommand> commands = cliCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const CliCommand& c) { return c.name == commandName; });
    if (command == commands.end()) {
        err << "vfdctl: unknown command " << quotedValue(commandName) << " (see vfdctl --help)" << Qt::endl;
        return CliExit::Usage;
    }
    if (const QStringList words = optionWords(rest);
        words.contains(QLatin1String("--help")) || words.contains(QLatin1String("-h"))) {
        out << command->help << Qt::flush;
        return CliExit::Ok;
    }

    // With --json stdout carries the JSON lines alone: the run is as quiet there as with --quiet.
    options.quiet = options.quiet || options.json;
    ConsoleDialogs dialogs(out, err);
    dialogs.quiet = options.quiet;
    CliContext context{out,
                       err,
                       dialogs,
                       options.selection.encoding,
                       env.stateFolder.isEmpty() ? appliedRecordsFolder() : env.stateFolder,
                       {},
                       options.json,
                       options.encodingNamed};
    const CliPlan plan = command->prepare(context, rest);
    JsonLines json(out, commandName);
    if (!plan.job)
        return endWithoutPorts(plan, options, rest, dialogs, context, json);

    if (options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("talvex.wire.debug=true"));
    RunPorts run;
    if (const QString failure = preparePorts(options, env, context.stateFolder, run, err);
        !failure.isEmpty()) {
        err << "vfdctl: " << failure << Qt::endl;
        return CliExit::Failed;
    }
    // With --json a single port runs as a fleet of one: its result is a JSON line like any other.
    const int status =
        run.ports.size() == 1 && !options.json
            ? runJobOnPort(plan.job, run.ports.first(), out, err, dialogs)
            : runFleet(plan.job, run.ports, arguments.mid(options.commandAt).join(QLatin1Char(' ')), out, err,
                       env.stdoutIsTerminal, options.quiet, options.json ? &json : nullptr);
    const bool kept = keepFlash(run, env.simulatedFlashFolder, err);
    printSimulatedDisplays(run.ports, options, out);
    return status == CliExit::Ok && !kept ? int(CliExit::Failed) : status;
}
