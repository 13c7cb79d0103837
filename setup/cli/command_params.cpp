#include "cli/cli_command.h"
#include "cli/outcome_report.h"
#include "operations/general_record.h"
#include "operations/parameter_vocabulary.h"
#include "protocol/display_access.h"

namespace {

struct ParamsOption
{
    const char* option;
    QString GeneralParameters::*field;
    const QStringList& (*items)();
};

const ParamsOption kOptions[] = {
    {"display-baud", &GeneralParameters::baudRate, &BaudRateItems},
    {"display-format", &GeneralParameters::dataFormat, &ComFormatItems},
    {"command-set", &GeneralParameters::commandSet, &CommandItems},
    {"code-page", &GeneralParameters::codePage, &CodePageItems},
    {"charset", &GeneralParameters::internationalCharset, &InternationalCharItems},
    {"brightness", &GeneralParameters::brightness, &BrightnessItems},
};

int Write(CliSession& session, const QStringList& args)
{
    QStringList names;
    for (const ParamsOption& o : kOptions)
        names << QString::fromLatin1(o.option);
    ParsedArgs parsed;
    QString error;
    if (!ParseArgs(args, names, {}, &parsed, &error) || !parsed.positional.isEmpty()) {
        session.err << "vfdctl params write: "
                    << (error.isEmpty() ? "unexpected argument " + parsed.positional.first() : error)
                    << Qt::endl;
        return CliExit::Usage;
    }
    GeneralParameters parameters; // the defaults of "Set to Default"
    for (const ParamsOption& o : kOptions) {
        const QString name = QString::fromLatin1(o.option);
        if (!parsed.options.contains(name))
            continue;
        const QString value = parsed.options.value(name);
        // Only the names the lists offer: a typo would silently be stored as "not set".
        if (!o.items().contains(value)) {
            session.err << "vfdctl params write: --" << name << " takes one of "
                        << o.items().join(QLatin1String(", ")) << ", not '" << value << "'" << Qt::endl;
            return CliExit::Usage;
        }
        parameters.*(o.field) = value;
    }
    return ReportOutcome(session.access.dialogs, WriteGeneralParameters(session.access, parameters));
}

} // namespace

CliCommand ParamsCommand()
{
    CliCommand command;
    command.name = QStringLiteral("params");
    command.synopsis =
        QStringLiteral("params write [--display-baud R] [--display-format F] [--command-set C]\n"
                       "             [--code-page P] [--charset S] [--brightness B]\n"
                       "params erase                   erase the general parameters");
    QString help = QStringLiteral(
        "Usage: vfdctl [global options] params write [options]\n"
        "       vfdctl [global options] params erase\n\n"
        "write  stores the display's general parameters (one 64-byte record) and restarts it.\n"
        "       Options left out take the defaults of the window's \"Set to Default\".\n"
        "erase  erases the record; the display restarts with its factory settings.\n\n"
        "Options of write (names exactly as the window's lists show them):\n");
    for (const ParamsOption& o : kOptions)
        help += QStringLiteral("  --%1  %2 (default %3)\n")
                    .arg(QString::fromLatin1(o.option), -16)
                    .arg(o.items().join(QLatin1String(", ")), GeneralParameters().*(o.field));
    help += QStringLiteral(
        "\nThe display must be reachable at the global --baud and --format (its current settings).\n");
    command.help = help;
    command.run = [](CliSession& session, const QStringList& args) {
        if (args.value(0) == QLatin1String("write"))
            return Write(session, args.mid(1));
        if (args.value(0) == QLatin1String("erase") && args.size() == 1)
            return ReportOutcome(session.access.dialogs, EraseGeneralParameters(session.access));
        session.err << "vfdctl params: expected 'write [options]' or 'erase' (see vfdctl params --help)"
                    << Qt::endl;
        return CliExit::Usage;
    };
    return command;
}
