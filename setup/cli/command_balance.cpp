#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/outcome_report.h"
#include "setup/operations/factory_adjustment.h"
#include "setup/protocol/display_access.h"

CliCommand balanceCommand()
{
    CliCommand command;
    command.name = QStringLiteral("balance");
    command.synopsis =
        QStringLiteral("balance VALUE                  set the brightness balance live (0..255)\n"
                       "balance --store                store the balance in use and restart");
    command.help = QStringLiteral(
        "Usage: vfdctl [global options] balance VALUE\n"
        "       vfdctl [global options] balance --store\n\n"
        "The factory adjustment of the display's brightness balance. Set the display to the EPSON\n"
        "command set first.\n\n"
        "VALUE    fills the screen with '0' characters and sends the balance VALUE (0 to 255); the\n"
        "         display uses it at once, so its effect can be judged by eye. Not stored.\n"
        "--store  makes the display store the balance it uses now, then restarts it.\n\n"
        "Neither runs the setup exchange: the display is reached at the global --baud and --format.\n");
    // Whatever it writes, the port's record of what apply applied no longer holds.
    command.prepare = forgettingRecords([](CliContext& context, const QStringList& args) {
        if (args == QStringList{QStringLiteral("--store")})
            return CliPlan::runRepeatable(
                [](PortRun& run) { return reportOutcome(run, storeBalance(run.access)); });
        bool number = false;
        const int value = args.size() == 1 ? args.at(0).toInt(&number) : -1;
        if (!number || value < kBalanceMinimum || value > kBalanceMaximum) {
            context.err
                << "vfdctl balance: expected a VALUE from 0 to 255, or --store (see vfdctl balance --help)"
                << Qt::endl;
            return CliPlan::done(CliExit::Usage);
        }
        return CliPlan::runRepeatable(
            [value](PortRun& run) { return reportOutcome(run, sendBalance(run.access, value)); });
    });
    return command;
}
