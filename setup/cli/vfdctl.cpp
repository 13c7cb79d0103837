#include "cli/vfdctl.h"

#include "cli/cli_command.h"
#include "cli/console_dialogs.h"
#include "core/pacer.h"
#include "core/port_name.h"
#include "core/qt_serial_link.h"
#include "core/version.h"
#include "core/wire_trace.h"
#include "protocol/display_access.h"
#include "sim/display_summary.h"
#include "sim/simulated_display.h"

#include <QLoggingCategory>
#include <QRegularExpression>

namespace {

QString overview()
{
    QString text =
        QStringLiteral(
            "Usage: vfdctl [--port PORT] [--baud RATE] [--format P,D,S] [--trace] COMMAND ...\n"
            "\n"
            "Configures and services Talvex VQ71xx customer displays over a serial port.\n"
            "\n"
            "Global options:\n"
            "  --port PORT     COM1..COMn, a system port such as /dev/ttyUSB0, or sim (default COM1)\n"
            "  --baud RATE     the display's current rate: 4800, 9600, 19200, 38400, 115200 (default 9600)\n"
            "  --format P,D,S  parity, data bits, stop bits, e.g. N,8,1 (default N,8,1)\n"
            "  --encoding NAME the text encoding of the display's code page, e.g. windows-1251, IBM866,\n"
            "                  IBM737, windows-1257, Shift_JIS, Big5 (default %1)\n"
            "  --trace         print every write and DSR change with a millisecond timestamp on stderr\n"
            "  --quiet         print nothing on success (failures still go to stderr)\n"
            "  --show          with --port sim: print the display's screen as a 2x20 box afterwards\n"
            "  --help          this text; 'vfdctl COMMAND --help' for a command\n"
            "  --version       the program's version\n"
            "\n"
            "Commands:\n")
            .arg(WireEncoding().name());
    for (const CliCommand& command : cliCommands())
        for (const QString& line : command.synopsis.split(QLatin1Char('\n')))
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    text += QStringLiteral("\nExit status: 0 success, 1 the device or a file failed, 2 usage error.\n");
    return text;
}

} // namespace

int vfdctlMain(const QStringList& arguments, QTextStream& out, QTextStream& err, const VfdctlEnvironment& env)
{
    PortSelection selection;
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
            selection.port = value;
        } else if (name == QLatin1String("--baud")) {
            bool ok = false;
            if (value.toInt(&ok) <= 0 || !ok) {
                err << "vfdctl: --baud takes a positive number, not '" << value << "'" << Qt::endl;
                return CliExit::Usage;
            }
            baudText = value;
        } else if (name == QLatin1String("--format")) {
            static const QRegularExpression format(QStringLiteral("^[NEOMS],[5-8],(1|1\\.5|2)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
            if (!format.match(value).hasMatch()) {
                err << "vfdctl: --format takes parity,data bits,stop bits such as N,8,1, not '" << value
                    << "'" << Qt::endl;
                return CliExit::Usage;
            }
            formatText = value;
        } else if (name == QLatin1String("--encoding")) {
            const std::optional<WireEncoding> encoding = WireEncoding::fromName(value);
            if (!encoding) {
                err << "vfdctl: --encoding takes a text encoding such as "
                    << WireEncoding::offeredNames().mid(0, 6).join(QLatin1String(", ")) << ", not '" << value
                    << "'" << Qt::endl;
                return CliExit::Usage;
            }
            selection.encoding = *encoding;
        } else {
            err << "vfdctl: unknown option " << name << " (see vfdctl --help)" << Qt::endl;
            return CliExit::Usage;
        }
    }
    selection.setLine(baudText, formatText);
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
        err << "vfdctl: unknown command '" << commandName << "' (see vfdctl --help)" << Qt::endl;
        return CliExit::Usage;
    }
    if (rest.contains(QLatin1String("--help"))) {
        out << command->help;
        return CliExit::Ok;
    }

    if (trace)
        QLoggingCategory::setFilterRules(QStringLiteral("talvex.wire.debug=true"));

    RealPacer realPacer;
    Pacer& pacer = env.pacer ? *env.pacer : realPacer;
    std::unique_ptr<SimulatedDisplay> ownDisplay;
    SimulatedDisplay* simulated = nullptr;
    std::unique_ptr<SerialLink> realLink;
    SerialLink* link = nullptr;
    if (isSimulatedPort(selection.port)) {
        simulated = env.simulatedDisplay;
        if (!simulated) {
            ownDisplay = std::make_unique<SimulatedDisplay>(pacer);
            simulated = ownDisplay.get();
        }
        link = simulated;
    } else {
        realLink = env.makeRealLink ? env.makeRealLink() : std::make_unique<QtSerialLink>();
        link = realLink.get();
    }
    TracedLink traced(*link, pacer);
    ConsoleDialogs dialogs(out, err);
    dialogs.quiet = quiet;
    DisplayAccess access(traced, pacer, dialogs, selection);
    CliSession session{access, out, err, simulated, env.stdoutIsTerminal, quiet};
    const int status = command->run(session, rest);
    if (traced.isOpen())
        traced.close();
    // What the simulated display now shows and holds: the whole summary, or with --show (or
    // --quiet) only what asked for.
    if (simulated && command->name != QLatin1String("list-ports")) {
        if (show)
            out << simulatedScreenBox(*simulated);
        else if (!quiet)
            out << simulatedDisplaySummary(*simulated);
    }
    return status;
}
