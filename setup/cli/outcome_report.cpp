#include "setup/cli/outcome_report.h"

#include "setup/cli/cli_command.h"
#include "setup/cli/failure_hints.h"
#include "setup/messages/message_catalogue.h"
#include "setup/protocol/display_access.h"

#include <QTextStream>

int reportOutcome(Dialogs& console, const Outcome& outcome)
{
    if (const std::optional<Message> box = outcomeMessage(outcome))
        showMessage(console, *box);
    return outcome ? CliExit::Ok : CliExit::Failed;
}

int reportOutcome(PortRun& run, const Outcome& outcome, bool forcedFirmware)
{
    const int status = reportOutcome(run.access.dialogs, outcome);
    run.ackTooLate = outcome.kind() == Outcome::AckTooLate;
    // Only an operation that the request ended is interrupted: one that had failed or finished
    // before it came keeps its own result.
    if (outcome.kind() == Outcome::Stopped && run.access.stopRequested())
        return CliExit::Interrupted;
    const QString port = run.access.selection.port;
    if (const std::optional<FailureKey> key = failureKey(outcome, forcedFirmware))
        run.err << "  " << failureHint(*key, portHintValues(port, run.access.selection.line.toText()))
                << Qt::endl;
    return status;
}

int reportRefusedFile(CliContext& context, const Refusal& refusal, const QString& path, const QString& origin)
{
    reportOutcome(context.dialogs, Outcome::refused(refusal));
    context.report.file = path;
    nameRefusedFile(context.err, path, origin);
    return CliExit::Failed;
}

void nameRefusedFile(QTextStream& err, const QString& path, const QString& origin)
{
    err << "  file: " << path << (origin.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(origin))
        << Qt::endl;
}
