#pragma once

#include "core/dialogs.h"
#include "setup/protocol/ack_wait.h"
#include "setup/protocol/outcome.h"

// A box that an operation waits on between two steps with the display, by kind: the display waits
// with it. The front end finds its icon and words in the message catalogue.
struct Notice
{
    enum Kind {
        OnlineUpdate, // before the port opens: the person sets DIP-12 OFF
        ForcedUpdate, // before the port opens: the person sets DIP-12 ON
        Restarting,   // what `done` says was done, before the restart command
        AckFailed,    // where `ackFailure` says the acknowledgement failed, before the NAK lines
        AckTooLate,   // where `ackFailure` says the host looked too late to tell, before the NAK lines
    };

    Kind kind;
    Outcome::Success done = Outcome::StepsPassed;
    AckFailure ackFailure{};

    static Notice updateMode(bool forced) { return {forced ? ForcedUpdate : OnlineUpdate}; }
    static Notice restarting(Outcome::Success done) { return {Restarting, done}; }
    static Notice ackFailed(const AckFailure& failure) { return {AckFailed, Outcome::StepsPassed, failure}; }
    static Notice ackTooLate(const AckFailure& failure)
    {
        return {AckTooLate, Outcome::StepsPassed, failure};
    }
};

// The dialogs an operation talks through: every program's boxes, and the notices that the protocol
// waits on, asked for by kind. Each front end's dialogs say a notice in the catalogue's words.
class OperationDialogs : public Dialogs
{
public:
    // Shows the notice's box; returns when the person has closed it.
    virtual void tell(const Notice& notice) = 0;
};
