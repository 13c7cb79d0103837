#include "gui/outcome_box.h"

#include "core/dialogs.h"
#include "protocol/outcome.h"

void showOutcome(Dialogs& dialogs, const Outcome& outcome)
{
    if (const std::optional<Outcome::Message> box = outcome.message())
        dialogs.message(box->icon, box->title, box->text, box->detail);
}
