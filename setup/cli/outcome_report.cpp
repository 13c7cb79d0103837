#include "cli/outcome_report.h"

#include "cli/cli_command.h"
#include "core/dialogs.h"
#include "protocol/outcome.h"

int reportOutcome(Dialogs& console, const Outcome& outcome)
{
    if (const std::optional<Outcome::Message> box = outcome.message())
        console.message(box->icon, box->title, box->text, box->detail);
    return outcome ? CliExit::Ok : CliExit::Failed;
}
