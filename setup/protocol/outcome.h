#pragma once

#include "core/dialogs.h"
#include "core/link_status.h"

#include <QString>
#include <optional>

// What became of a device operation, as a value: the front end decides how the person hears of it
// (the window a box, vfdctl a line on stderr and its exit status). Boxes the protocol must wait for
// (the success box before the restart, the "Display ack. failed" box before the NAK lines) have been
// shown at their point already; an outcome only carries what is still to be told.
class Outcome
{
public:
    enum Kind {
        Done,        // every step passed; success() says which
        Refused,     // the input was refused; the box (if any) says why
        PortFailed,  // the port could not be opened or set: number() and reason()
        NotReady,    // the display did not hold DSR
        NoAck,       // no acknowledgement at step(); its box was shown before the NAK lines
        WriteFailed, // a write failed on the open port: number() and reason()
        Stopped,     // the operation was asked to stop; nothing more to tell
    };
    enum Success {
        StepsPassed,         // a step of an operation passed; the operation goes on
        FlashWriteOk,        // a record was written and the display told to restart
        FlashEraseOk,        // a record was erased and the display told to restart
        BalanceAcknowledged, // the display took the balance it was sent
        FirmwareUpdated,     // every page was sent and the display told to restart
    };

    // A box as the person sees it.
    struct Message
    {
        Dialogs::Icon icon;
        QString title;
        QString text;
        QString detail;
    };

    static Outcome passed() { return done(StepsPassed); }
    static Outcome done(Success success);
    // Refused input: a critical box with `title` and `text`, or none when the title is empty.
    static Outcome refused(const QString& title = {}, const QString& text = {});
    static Outcome portFailed(const LinkStatus& status);
    static Outcome notReady();
    static Outcome noAck(int step, const QString& text);
    static Outcome writeFailed(const LinkStatus& status);
    static Outcome stopped();

    explicit operator bool() const { return kind_ == Done; }
    Kind kind() const { return kind_; }
    Success success() const { return success_; }
    // The port's failure number, or the acknowledgement step that failed.
    int number() const { return number_; }
    int step() const { return number_; }
    // The system's reason of a port failure.
    const QString& reason() const { return reason_; }
    // The box text of a refusal or of a missing acknowledgement.
    const QString& text() const { return text_; }
    const QString& title() const { return title_; }

    // The box that is still to be shown for this outcome, if any.
    std::optional<Message> message() const;

private:
    explicit Outcome(Kind kind) : kind_(kind) {}
    Kind kind_;
    Success success_ = StepsPassed;
    int number_ = 0;
    QString reason_;
    QString title_;
    QString text_;
};
