#include "core/quoted_value.h"
#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/outcome_report.h"
#include "setup/operations/general_record.h"
#include "setup/protocol/display_access.h"

#include <array>

namespace {

struct ParamsOption
{
    const char* option;
    const GeneralSetting& setting;
};

// The options of "params write", one per list of the General page and in its order.
std::array<ParamsOption, 6> options()
{
    const auto& settings = generalSettings();
    return {{
        {"display-baud", settings[0]},
        {"display-format", settings[1]},
        {"command-set", settings[2]},
        {"code-page", settings[3]},
        {"charset", settings[4]},
        {"brightness", settings[5]},
    }};
}

CliPlan prepareWrite(CliContext& context, const QStringList& args)
{
    QStringList names;
    for (const ParamsOption& o : options())
        names << QString::fromLatin1(o.option);
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, names, {}, &parsed, &error) || !parsed.positional.isEmpty()) {
        context.err << "vfdctl params write: "
                    << (error.isEmpty() ? "unexpected argument " + quotedValue(parsed.positional.first())
                                        : error)
                    << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    }
    GeneralParameters parameters; // the defaults of "Set to Default"
    for (const ParamsOption& o : options()) {
        const QString name = QString::fromLatin1(o.option);
        if (!parsed.options.contains(name))
            continue;
        const QString value = parsed.options.value(name);
        // Only the names the lists offer: a typo would silently be stored as "not set".
        const std::optional<QString> named = o.setting.itemNamed(value);
        if (!named) {
            context.err << "vfdctl params write: --" << name << " takes one of "
                        << o.setting.items().join(QLatin1String(", ")) << ", not " << quotedValue(value)
                        << Qt::endl;
            return CliPlan::done(CliExit::Usage);
        }
        parameters.*(o.setting.field) = o.setting.codeOf(*named);
    }
    return CliPlan::runRepeatable([parameters](PortRun& run) {
        return reportOutcome(run, writeGeneralParameters(run.access, parameters));
    });
}

} // namespace

CliCommand paramsCommand()
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
        "Options of write (names as the window's lists show them, in any letter case):\n");
    for (const ParamsOption& o : options())
        help +=
            QStringLiteral("  --%1  %2 (default %3)\n")
                .arg(QString::fromLatin1(o.option), -16)
                .arg(o.setting.items().join(QLatin1String(", ")), QString::fromLatin1(o.setting.defaultName));
    help += QStringLiteral(
        "\nThe display must be reachable at the global --baud and --format (its current settings).\n");
    command.help = help;
    // Whatever it writes, the port's record of what apply applied no longer holds.
    command.prepare = forgettingRecords([](CliContext& context, const QStringList& args) {
        if (args.value(0) == QLatin1String("write"))
            return prepareWrite(context, args.mid(1));
        if (args.value(0) == QLatin1String("erase") && args.size() == 1)
            return CliPlan::runRepeatable(
                [](PortRun& run) { return reportOutcome(run, eraseGeneralParameters(run.access)); });
        context.err << "vfdctl params: expected 'write [options]' or 'erase' (see vfdctl params --help)"
                    << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    });
    return command;
}
