#include "protocol/outcome.h"

#include "protocol/port_messages.h"

Outcome Outcome::done(Success success)
{
    Outcome outcome(Done);
    outcome.success_ = success;
    return outcome;
}

Outcome Outcome::refused(const QString& title, const QString& text)
{
    Outcome outcome(Refused);
    outcome.title_ = title;
    outcome.text_ = text;
    return outcome;
}

Outcome Outcome::portFailed(const LinkStatus& status)
{
    Outcome outcome(PortFailed);
    outcome.number_ = status.number;
    outcome.reason_ = status.reason;
    return outcome;
}

Outcome Outcome::notReady()
{
    return Outcome(NotReady);
}

Outcome Outcome::noAck(int step, const QString& text)
{
    Outcome outcome(NoAck);
    outcome.number_ = step;
    outcome.title_ = QStringLiteral("Display ack. failed");
    outcome.text_ = text;
    return outcome;
}

Outcome Outcome::writeFailed(const LinkStatus& status)
{
    Outcome outcome(WriteFailed);
    outcome.number_ = status.number;
    outcome.reason_ = status.reason;
    return outcome;
}

Outcome Outcome::stopped()
{
    return Outcome(Stopped);
}

std::optional<Outcome::Message> Outcome::message() const
{
    switch (kind_) {
    case Refused:
        if (title_.isEmpty())
            return std::nullopt; // nothing to send and nothing to say (a file gone since it was chosen)
        return Message{Dialogs::Critical, title_, text_, {}};
    case PortFailed:
        return Message{Dialogs::Critical, QStringLiteral("Port Error"), portErrorText(number_), reason_};
    case NotReady:
        return Message{Dialogs::Exclamation,
                       QStringLiteral("Port Status"),
                       QStringLiteral("Display DSR not ready yet !!"),
                       {}};
    case WriteFailed:
        return Message{Dialogs::Critical, QStringLiteral("Port Error"),
                       QStringLiteral("COM Port Write Error( %1) !!").arg(number_), reason_};
    case Done:    // the success boxes come before the restart, where the protocol waits for them
    case NoAck:   // shown before the NAK lines
    case Stopped: // the person has left: nothing to tell
        return std::nullopt;
    }
    return std::nullopt;
}
