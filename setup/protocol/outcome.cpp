#include "setup/protocol/outcome.h"

Outcome Outcome::done(Success success)
{
    Outcome outcome(Done);
    outcome.success_ = success;
    return outcome;
}

Outcome Outcome::refused(const Refusal& refusal)
{
    Outcome outcome(Refused);
    outcome.refusal_ = refusal;
    return outcome;
}

Outcome Outcome::noAck(const AckFailure& failure)
{
    Outcome outcome(NoAck);
    outcome.ackFailure_ = failure;
    return outcome;
}

Outcome Outcome::ackTooLate(const AckFailure& failure)
{
    Outcome outcome(AckTooLate);
    outcome.ackFailure_ = failure;
    return outcome;
}

Outcome Outcome::failedLink(Kind kind, const LinkStatus& link)
{
    Outcome outcome(kind);
    outcome.link_ = link;
    return outcome;
}
