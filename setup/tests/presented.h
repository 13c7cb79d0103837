#pragma once
// Operations run by a test are told to the person as the window tells them: the outcome's box (if one
// is still to be shown) goes to the test's dialogs after the operation, so that the boxes are asserted
// in the order the person sees them.

#include "gui/outcome_box.h"
#include "protocol/outcome.h"

inline Outcome Presented(Dialogs& dialogs, const Outcome& outcome)
{
    showOutcome(dialogs, outcome);
    return outcome;
}
