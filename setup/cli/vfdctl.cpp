#include "cli/vfdctl.h"

#include "cli/cli_command.h"
#include "cli/console_dialogs.h"
#include "cli/fleet_run.h"
#include "cli/port_run.h"
#include "core/pacer.h"
#include "core/port_name.h"
#include "core/qt_serial_link.h"
#include "core/quoted_value.h"
#include "core/version.h"
#include "core/wire_text.h"
#include "sim/display_summary.h"
#include "sim/simulated_display.h"
#include "sim/simulated_fault.h"

#include <QLoggingCategory>

namespace {

QString overview()
{
    QString text =
        QStringLiteral(
            "Usage: vfdctl [--port PORT]... [--ports LIST] [--baud RATE] [--format P,D,S] [--trace] COMMAND "
            "...\n"
            "\n"
            "Configures and services Talvex VQ71xx customer displays over serial ports, one or many at "
            "once.\n"
            "\n"
            "Global options:\n"
            "  --port PORT     COM1..COMn, a system port such as /dev/ttyUSB0, sim or sim:NAME (default\n"
            "                  COM1); give it again for more ports\n"
            "  --ports LIST    more ports, comma-separated (COM3,COM4,sim:a), or all: every port the\n"
            "                  system reports\n"
            "  --baud RATE     the display's current rate: 4800, 9600, 19200, 38400, 115200 (default 9600)\n"
            "  --format P,D,S  parity, data bits, stop bits, e.g. N,8,1 (default N,8,1)\n"
            "  --encoding NAME the text encoding of the display's code page, e.g. windows-1251, IBM866,\n"
            "                  IBM737, windows-1257, Shift_JIS, Big5 (default %1)\n"
            "  --trace         print every write and DSR change with a millisecond timestamp on stderr\n"
            "  --quiet         print nothing on success (failures still go to stderr)\n"
            "  --show          with --port sim: print the display's screen as a 2x20 box afterwards\n"
            "  --sim-fault PORT=FAULT\n"
            "                  start the simulated display PORT (sim or sim:NAME) with a fault: absent,\n"
            "                  no-ack, no-ack-after:N (only the first N frames acknowledged), dsr-late\n"
            "  --help          this text; 'vfdctl COMMAND --help' for a command\n"
            "  --version       the program's version\n"
            "\n"
            "Commands:\n")
            .arg(WireEncoding().name());
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
        "error, 130 interrupted.\n");
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

} // namespace

int vfdctlMain(const QStringList& arguments, QTextStream& out, QTextStream& err, const VfdctlEnvironment& env)
{
    PortSelection selection;
    QStringList ports;
    QHash<QString, SimulatedDisplay::Faults> simFaults;
    QString baudText = QStringLiteral("9600");
    QString formatText = QStringLiteral("N,8,1");
    bool trace = false;
    bool quiet = false;
    bool show = false;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (!word.startsWith(QLatin1String("--")))
            break;
        if (word == QLatin1String("--help")) {
            out << overview();
            return CliExit::Ok;
        }
        if (word == QLatin1String("--version")) {
            out << "vfdctl " << ProjectVersion::Text << Qt::endl;
            return CliExit::Ok;
        }
        if (word == QLatin1String("--trace")) {
            trace = true;
            continue;
        }
        if (word == QLatin1String("--quiet")) {
            quiet = true;
            continue;
        }
        if (word == QLatin1String("--show")) {
            show = true;
            continue;
        }
        QString name = word;
        QString value;
        if (word.contains(QLatin1Char('='))) {
            name = word.section(QLatin1Char('='), 0, 0);
            value = word.section(QLatin1Char('='), 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            err << "vfdctl: option " << name << " needs a value" << Qt::endl;
            return CliExit::Usage;
        }
        if (name == QLatin1String("--port")) {
            ports << value;
        } else if (name == QLatin1String("--ports")) {
            if (value == QLatin1String("all")) {
                const QStringList all = env.systemPorts ? env.systemPorts() : systemPortNames();
                if (all.isEmpty()) {
                    err << "vfdctl: --ports all: the system reports no serial port" << Qt::endl;
                    return CliExit::Failed;
                }
                ports << all;
            } else {
                ports << value.split(QLatin1Char(','), Qt::SkipEmptyParts);
            }
        } else if (name == QLatin1String("--sim-fault")) {
            const QString port = value.section(QLatin1Char('='), 0, 0);
            const std::optional<SimulatedDisplay::Faults> faults =
                simulatedFaultNamed(value.section(QLatin1Char('='), 1));
            if (!isSimulatedPort(port) || !faults) {
                err << "vfdctl: --sim-fault takes PORT=FAULT, PORT sim or sim:NAME, FAULT one of "
                    << kSimulatedFaultNames << ", not " << quotedValue(value) << Qt::endl;
                return CliExit::Usage;
            }
            simFaults.insert(port, *faults);
        } else if (name == QLatin1String("--baud")) {
            bool ok = false;
            if (value.toInt(&ok) <= 0 || !ok) {
                err << "vfdctl: --baud takes a positive number, not " << quotedValue(value) << Qt::endl;
                return CliExit::Usage;
            }
            baudText = value;
        } else if (name == QLatin1String("--format")) {
            if (!LineSettings::parse(QStringLiteral("9600,") + value)) {
                err << "vfdctl: --format takes parity,data bits,stop bits such as N,8,1, not "
                    << quotedValue(value) << Qt::endl;
                return CliExit::Usage;
            }
            formatText = value;
        } else if (name == QLatin1String("--encoding")) {
            const std::optional<WireEncoding> encoding = WireEncoding::fromName(value);
            if (!encoding) {
                err << "vfdctl: --encoding takes a text encoding such as "
                    << WireEncoding::offeredNames().mid(0, 6).join(QLatin1String(", ")) << ", not "
                    << quotedValue(value) << Qt::endl;
                return CliExit::Usage;
            }
            selection.encoding = *encoding;
        } else {
            err << "vfdctl: unknown option " << name << " (see vfdctl --help)" << Qt::endl;
            return CliExit::Usage;
        }
    }
    selection.setLine(baudText, formatText);
    if (ports.isEmpty())
        ports << selection.port;
    if (ports.removeDuplicates() > 0) {
        err << "vfdctl: a port is named twice" << Qt::endl;
        return CliExit::Usage;
    }
    if (i >= arguments.size()) {
        err << overview();
        return CliExit::Usage;
    }
    const QString commandName = arguments.at(i);
    const QStringList rest = arguments.mid(i + 1);
    const QList<CliCommand> commands = cliCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const CliCommand& c) { return c.name == commandName; });
    if (command == commands.end()) {
        err << "vfdctl: unknown command " << quotedValue(commandName) << " (see vfdctl --help)" << Qt::endl;
        return CliExit::Usage;
    }
    if (rest.contains(QLatin1String("--help"))) {
        out << command->help;
        return CliExit::Ok;
    }

    ConsoleDialogs dialogs(out, err);
    dialogs.quiet = quiet;
    CliContext context{out, err, dialogs, selection.encoding};
    const CliPlan plan = command->prepare(context, rest);

    if (trace)
        QLoggingCategory::setFilterRules(QStringLiteral("talvex.wire.debug=true"));

    // Each port its own pacer and, for a simulated port, its own display.
    const bool single = ports.size() == 1;
    std::vector<std::unique_ptr<Pacer>> ownPacers;
    std::vector<std::unique_ptr<SimulatedDisplay>> ownDisplays;
    QList<FleetPort> fleet;
    for (const QString& port : std::as_const(ports)) {
        PortTarget target;
        target.selection = selection;
        target.selection.port = port;
        target.pacer = single && env.pacer ? env.pacer : env.pacerFor ? env.pacerFor(port) : nullptr;
        if (!target.pacer)
            target.pacer = ownPacers.emplace_back(std::make_unique<RealPacer>()).get();
        if (isSimulatedPort(port)) {
            SimulatedDisplay* simulated = single && env.simulatedDisplay ? env.simulatedDisplay
                                          : env.simulatedDisplayFor      ? env.simulatedDisplayFor(port)
                                                                         : nullptr;
            if (!simulated)
                simulated = ownDisplays.emplace_back(std::make_unique<SimulatedDisplay>(*target.pacer)).get();
            if (simFaults.contains(port))
                simulated->setFaults(simFaults.value(port));
            target.simulatedDisplay = simulated;
        }
        target.makeRealLink = env.makeRealLink;
        target.stop = env.stop;
        target.stdoutIsTerminal = env.stdoutIsTerminal;
        target.quiet = quiet;
        fleet.append({port, target});
    }

    if (!single) {
        if (!plan.job)
            return plan.status;
        const int status = runFleet(plan.job, fleet, arguments.mid(i).join(QLatin1Char(' ')), out, err,
                                    env.stdoutIsTerminal, quiet);
        for (const FleetPort& port : std::as_const(fleet))
            if (show && port.target.simulatedDisplay)
                out << port.name << ":\n" << simulatedScreenBox(*port.target.simulatedDisplay);
        return status;
    }
    const PortTarget& target = fleet.first().target;
    const int status = plan.job ? runJobOnPort(plan.job, target, out, err, dialogs) : plan.status;
    // What the simulated display now shows and holds: the whole summary, or with --show (or
    // --quiet) only what asked for.
    if (target.simulatedDisplay && command->name != QLatin1String("list-ports")) {
        if (show)
            out << simulatedScreenBox(*target.simulatedDisplay);
        else if (!quiet)
            out << simulatedDisplaySummary(*target.simulatedDisplay);
    }
    return status;
}
