#include "setup/cli/applied_records.h"
#include "setup/cli/cli_command.h"
#include "setup/cli/named_file_check.h"
#include "setup/cli/outcome_report.h"
#include "setup/messages/message_catalogue.h"
#include "setup/operations/demo_file.h"
#include "setup/operations/demo_transfer.h"
#include "setup/protocol/display_access.h"

int writeDemoFile(PortRun& run, const QString& path, const QString& origin)
{
    const Outcome outcome = writeDemo(run.access, path);
    const int status = reportOutcome(run, outcome);
    // The file has changed since it was checked (grown past the limit, no longer readable).
    if (outcome.kind() == Outcome::Refused) {
        run.report.file = path;
        nameRefusedFile(run.err, path, origin);
    }
    return status;
}

namespace {

CliPlan prepareWrite(CliContext& context, const QString& path)
{
    if (const std::optional<int> refused = refuseUnreadableNamedFile(context, path))
        return CliPlan::done(*refused);
    // The check of the window's "File Input": only a DEMO file goes to the display.
    if (const std::optional<Refusal> refusal = checkDemoFile(path))
        return CliPlan::done(reportRefusedFile(context, *refusal, path));
    return CliPlan::runRepeatable([path](PortRun& run) { return writeDemoFile(run, path); });
}

} // namespace

CliCommand demoCommand()
{
    CliCommand command;
    command.name = QStringLiteral("demo");
    command.synopsis = QStringLiteral("demo write FILE                write a user-defined DEMO file\n"
                                      "demo erase                     erase the user-defined DEMO");
    command.help =
        QStringLiteral(
            "Usage: vfdctl [global options] demo write FILE\n"
            "       vfdctl [global options] demo erase\n\n"
            "write  checks that FILE opens with the signature 55 AA 5A A5 (\"%1\" when it has\n"
            "       fewer than four bytes, \"%2\" otherwise), then sends it to the display\n"
            "       in blocks of up to 512 bytes, without its last two bytes, and restarts the display.\n"
            "       A file of more than 69120 bytes (135 pages) cannot be announced and is refused\n"
            "       before anything is sent. The file is read block by block while it is sent.\n"
            "erase  erases the stored DEMO with one empty block, without the setup exchange, at the\n"
            "       global --baud and --format, and restarts the display.\n")
            .arg(refusalMessage({Refusal::DemoTooShort})->text,
                 refusalMessage({Refusal::DemoWithoutSignature})->text);
    // Whatever it writes, the port's record of what apply applied no longer holds.
    command.prepare = forgettingRecords([](CliContext& context, const QStringList& args) {
        if (args.value(0) == QLatin1String("write") && args.size() == 2)
            return prepareWrite(context, args.at(1));
        if (args.value(0) == QLatin1String("erase") && args.size() == 1)
            return CliPlan::runRepeatable(
                [](PortRun& run) { return reportOutcome(run, eraseDemo(run.access)); });
        context.err << "vfdctl demo: expected 'write FILE' or 'erase' (see vfdctl demo --help)" << Qt::endl;
        return CliPlan::done(CliExit::Usage);
    });
    return command;
}
