#include "setup/cli/global_options.h"

#include "core/line_settings.h"
#include "core/port_name.h"
#include "core/quoted_value.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/failure_hints.h"
#include "setup/operations/parameter_vocabulary.h"
#include "setup/sim/simulated_fault.h"

namespace {

const QStringList kFlags = {QStringLiteral("--trace"),     QStringLiteral("--quiet"),
                            QStringLiteral("--show"),      QStringLiteral("--json"),
                            QStringLiteral("--sim-reset"), QStringLiteral("--help"),
                            QStringLiteral("--version")};
const QStringList kValueOptions = {QStringLiteral("--port"),     QStringLiteral("--ports"),
                                   QStringLiteral("--baud"),     QStringLiteral("--format"),
                                   QStringLiteral("--encoding"), QStringLiteral("--sim-fault")};

// A word that starts an option: "--quiet", "--baud=9600", "--", and -h for --help.
bool isOptionWord(const QString& word)
{
    return word.startsWith(QLatin1String("--")) || word == QLatin1String("-h");
}

// Takes one option with its value; the message of a usage error otherwise.
QString takeOption(const QString& name, const QString& value, GlobalOptions& options)
{
    const QString given = QStringLiteral(", not ") + quotedValue(value);
    if (name == QLatin1String("--port")) {
        options.ports << value;
    } else if (name == QLatin1String("--ports")) {
        options.ports << value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (name == QLatin1String("--sim-fault")) {
        const QString port = value.section(QLatin1Char('='), 0, 0);
        const std::optional<SimulatedDisplay::Faults> faults =
            simulatedFaultNamed(value.section(QLatin1Char('='), 1));
        if (!isSimulatedPort(port) || !faults)
            return QStringLiteral("--sim-fault takes PORT=FAULT, PORT sim or sim:NAME, FAULT one of ") +
                   kSimulatedFaultNames + given;
        options.simFaults.insert(port, *faults);
    } else if (name == QLatin1String("--baud")) {
        // Only the rates a display can be set to: any other is refused now, not as a missing
        // acknowledgement seconds later.
        if (!baudRateItems().contains(value))
            return QStringLiteral("--baud takes one of ") + baudRateItems().join(QLatin1String(", ")) + given;
        options.selection.line.baud = value.toInt();
    } else if (name == QLatin1String("--format")) {
        // Read as the rest of the line settings, at the rate given so far.
        const std::optional<LineSettings> line =
            LineSettings::parse(QString::number(options.selection.line.baud) + QLatin1Char(',') + value);
        if (!line)
            return QStringLiteral("--format takes parity,data bits,stop bits such as N,8,1") + given;
        options.selection.line = *line;
    } else if (name == QLatin1String("--encoding")) {
        const std::optional<WireEncoding> encoding = WireEncoding::fromName(value);
        if (!encoding)
            return QStringLiteral("--encoding takes a text encoding such as ") +
                   WireEncoding::offeredNames().mid(0, 6).join(QLatin1String(", ")) + given;
        options.selection.encoding = *encoding;
        options.encodingNamed = true;
    }
    return {};
}

// The ports of the run, checked: each once, and every --sim-fault for one of them.
QString checkPorts(GlobalOptions& options)
{
    if (options.ports.isEmpty())
        options.ports << options.selection.port;
    for (qsizetype i = 0; i < options.ports.size(); ++i)
        if (options.ports.indexOf(options.ports.at(i), i + 1) > i)
            return QStringLiteral("a port is named twice\n  ") +
                   failureHint(FailureKey::PortNamedTwice, {options.ports.at(i), {}, {}, {}});
    for (auto it = options.simFaults.cbegin(); it != options.simFaults.cend(); ++it)
        if (!options.ports.contains(it.key()))
            return QStringLiteral(
                       "--sim-fault names %1, which is not a port of this run (give it with --port "
                       "or --ports)")
                .arg(it.key());
    return {};
}

} // namespace

std::optional<int> readGlobalOptions(const QStringList& arguments,
                                     const std::function<QStringList()>& systemPorts, QTextStream& err,
                                     GlobalOptions& options)
{
    qsizetype& i = options.commandAt;
    for (; i < arguments.size() && isOptionWord(arguments.at(i)); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("--")) { // the end of the options: the command follows
            ++i;
            break;
        }
        options.help = word == QLatin1String("--help") || word == QLatin1String("-h");
        options.version = word == QLatin1String("--version");
        if (options.help || options.version)
            return std::nullopt;
        options.trace = options.trace || word == QLatin1String("--trace");
        options.quiet = options.quiet || word == QLatin1String("--quiet");
        options.show = options.show || word == QLatin1String("--show");
        options.json = options.json || word == QLatin1String("--json");
        options.simReset = options.simReset || word == QLatin1String("--sim-reset");
        if (kFlags.contains(word))
            continue;
        const bool inlineValue = word.contains(QLatin1Char('='));
        const QString name = word.section(QLatin1Char('='), 0, 0);
        // What is wrong with the option itself comes before a value it lacks.
        const QString misuse =
            kFlags.contains(name) ? QStringLiteral("option %1 takes no value").arg(name)
            : !kValueOptions.contains(name)
                ? QStringLiteral("unknown option %1 (see vfdctl --help)").arg(quotedValue(name, QChar()))
            : !inlineValue && i + 1 >= arguments.size() ? QStringLiteral("option %1 needs a value").arg(name)
                                                        : QString();
        if (!misuse.isEmpty()) {
            err << "vfdctl: " << misuse << Qt::endl;
            return CliExit::Usage;
        }
        const QString value = inlineValue ? word.section(QLatin1Char('='), 1) : arguments.at(++i);
        if (name == QLatin1String("--ports") && value == QLatin1String("all")) {
            const QStringList all = systemPorts();
            if (all.isEmpty()) {
                err << "vfdctl: --ports all: the system reports no serial port" << Qt::endl;
                return CliExit::Failed;
            }
            options.ports << all;
            continue;
        }
        if (const QString error = takeOption(name, value, options); !error.isEmpty()) {
            err << "vfdctl: " << error << Qt::endl;
            return CliExit::Usage;
        }
    }
    if (const QString error = checkPorts(options); !error.isEmpty()) {
        err << "vfdctl: " << error << Qt::endl;
        return CliExit::Usage;
    }
    return std::nullopt;
}

bool isGlobalOption(const QString& word)
{
    const QString name = word.section(QLatin1Char('='), 0, 0);
    return kFlags.contains(name) || kValueOptions.contains(name);
}
