#pragma once

#include "core/link_status.h"
#include "setup/protocol/ack_wait.h"
#include "setup/protocol/refusal.h"

// What became of a device operation, as a value: the front end decides how the person hears of it (the
// window a box, vfdctl a line on stderr and its exit status), in the message catalogue's words. The
// boxes the protocol waits on (the success box before the restart, the "Display ack. failed" box before
// the NAK lines) have been shown at their point already.
class Outcome
{
public:
    enum Kind {
        Done,        // every step passed; success() says which
        Refused,     // the input was refused: refusal()
        PortFailed,  // the port could not be opened or set, or cannot report DSR: link()
        NotReady,    // the display did not hold DSR
        NoAck,       // no acknowledgement: ackFailure(); its box was shown before the NAK lines
        AckTooLate,  // the host looked too late to tell: ackFailure(); its box came before the NAK lines
        WriteFailed, // a write failed on the open port: link()
        Stopped,     // the operation was asked to stop; nothing more to tell
    };
    enum Success {
        StepsPassed,         // a step of an operation passed; the operation goes on
        FlashWriteOk,        // a record was written and the display told to restart
        FlashEraseOk,        // a record was erased and the display told to restart
        BalanceAcknowledged, // the display took the balance it was sent
        FirmwareUpdated,     // every page was sent and the display told to restart
    };

    static Outcome passed() { return done(StepsPassed); }
    static Outcome done(Success success);
    static Outcome refused(const Refusal& refusal);
    static Outcome portFailed(const LinkStatus& link) { return failedLink(PortFailed, link); }
    static Outcome notReady() { return Outcome(NotReady); }
    static Outcome noAck(const AckFailure& failure);
    static Outcome ackTooLate(const AckFailure& failure);
    static Outcome writeFailed(const LinkStatus& link) { return failedLink(WriteFailed, link); }
    static Outcome stopped() { return Outcome(Stopped); }

    explicit operator bool() const { return kind_ == Done; }
    Kind kind() const { return kind_; }
    Success success() const { return success_; }
    // The link's failure of PortFailed and WriteFailed: what failed and the system's reason.
    const LinkStatus& link() const { return link_; }
    const AckFailure& ackFailure() const { return ackFailure_; }
    const Refusal& refusal() const { return refusal_; }

private:
    explicit Outcome(Kind kind) : kind_(kind) {}
    static Outcome failedLink(Kind kind, const LinkStatus& link);

    Kind kind_;
    Success success_ = StepsPassed;
    LinkStatus link_;
    AckFailure ackFailure_;
    Refusal refusal_{Refusal::FileGone};
};
