#include "setup/messages/outcome_box.h"

#include "setup/messages/message_catalogue.h"

void showOutcome(Dialogs& dialogs, const Outcome& outcome)
{
    if (const std::optional<Message> box = outcomeMessage(outcome))
        showMessage(dialogs, *box);
}

void showRefusal(Dialogs& dialogs, const Refusal& refusal)
{
    if (const std::optional<Message> box = refusalMessage(refusal))
        showMessage(dialogs, *box);
}
