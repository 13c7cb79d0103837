#include "cli/outcome_report.h"

#include "cli/cli_command.h"
#include "cli/failure_hints.h"
#include "core/dialogs.h"
#include "protocol/display_access.h"
#include "protocol/outcome.h"

#include <QTextStream>

int reportOutcome(Dialogs& console, const Outcome& outcome)
{
    if (const std::optional<Outcome::Message> box = outcome.message())
        console.message(box->icon, box->title, box->text, box->detail);
    return outcome ? CliExit::Ok : CliExit::Failed;
}

int reportOutcome(CliSession& session, const Outcome& outcome, bool forcedFirmware)
{
    const int status = reportOutcome(session.access.dialogs, outcome);
    // Only an operation that the request ended is interrupted: one that had failed or finished
    // before it came keeps its own result.
    if (outcome.kind() == Outcome::Stopped && session.access.stopRequested())
        return CliExit::Interrupted;
    const QString port = session.access.selection.port;
    if (const std::optional<FailureKey> key = failureKey(outcome, port, forcedFirmware))
        session.err << "  " << failureHint(*key, portHintValues(port, session.access.selection.line.toText()))
                    << Qt::endl;
    return status;
}

void nameRefusedFile(QTextStream& err, const QString& path, const QString& origin)
{
    err << "  file: " << path << (origin.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(origin))
        << Qt::endl;
}
