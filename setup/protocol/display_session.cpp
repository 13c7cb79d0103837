#include "setup/protocol/display_session.h"

#include "core/output_drain.h"
#include "setup/protocol/ack_wait.h"
#include "setup/protocol/crc16.h"
#include "setup/protocol/setup_request.h"

#include <algorithm>

DisplaySession::DisplaySession(DisplayAccess& access) : access_(access)
{
    if (Outcome opened = open(); !opened)
        openFailure_ = opened;
}

DisplaySession::~DisplaySession()
{
    // The restart and the NAK lines must leave the port before it closes, on every path.
    close();
}

Outcome DisplaySession::open()
{
    if (halted())
        return outcome();
    SerialLink& link = access_.link;
    const PortSelection& selection = access_.selection;
    link.setPortName(selection.port);
    LinkStatus status = selection.lineRefusal.isEmpty()
                            ? link.setSettings(selection.line)
                            : LinkStatus::failure(LinkFailure::SettingsRefused, selection.lineRefusal);
    if (status.ok() && !link.isOpen())
        status = link.open();
    if (!status.ok()) {
        close();
        return outcome(Outcome::portFailed(status));
    }
    if (!waitForDsr(kDsrAfterOpenLimit)) {
        close();
        // A failed link (a write, a line that cannot be read) has its own box, and it is why DSR is not
        // seen: one box is enough.
        return outcome(Outcome::notReady());
    }
    open_ = true;
    return Outcome::passed();
}

bool DisplaySession::close()
{
    SerialLink& link = access_.link;
    if (link.isOpen()) {
        // The last frames (the restart, the NAK lines) must have left the port before it closes, stopped
        // or not; a link that failed sends nothing more.
        if (!linkFailed())
            waitForOutputToLeave(link, access_.pacer, kDrainLimit);
        link.close();
    }
    open_ = false;
    return !link.isOpen();
}

Outcome DisplaySession::outcome(const Outcome& otherwise) const
{
    if (openFailure_)
        return *openFailure_;
    if (linkFailed())
        return fault_.what == LinkFailure::WriteFailed ? Outcome::writeFailed(fault_)
                                                       : Outcome::portFailed(fault_);
    if (stopRequested())
        return Outcome::stopped();
    return otherwise;
}

bool DisplaySession::write(const QByteArray& bytes)
{
    return !stopRequested() && send(bytes);
}

bool DisplaySession::writeAll(std::initializer_list<QByteArray> pieces)
{
    if (stopRequested())
        return false;
    for (const QByteArray& piece : pieces)
        if (!send(piece))
            return false;
    return true;
}

bool DisplaySession::send(const QByteArray& bytes)
{
    if (!open_ || linkFailed() || bytes.isNull())
        return false;
    const LinkStatus status = access_.link.write(bytes);
    if (status.ok())
        return true;
    fault_ = status;
    return false;
}

bool DisplaySession::writeRecord(const char* command, const QByteArray& record)
{
    // Each piece is its own write, as the display has always received them.
    return writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, command}), crc16(record),
                     buildFrame({static_cast<int>(record.size())}), record});
}

bool DisplaySession::eraseRecord(const char* command)
{
    return writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, command}), QByteArray(4, '\0')});
}

bool DisplaySession::waitForDsr(double limit)
{
    Pacer& pacer = access_.pacer;
    SerialLink& link = access_.link;
    const double start = pacer.now();
    for (;;) {
        // Nothing writes during the wait: a link that has not failed by now does not fail in it.
        if (halted())
            return false;
        const DsrEvents dsr = link.dsrEvents();
        if (!dsr.readable()) {
            fault_ = LinkStatus::failure(LinkFailure::DsrUnreadable, link.dsrUnreadableReason());
            return false;
        }
        if (dsr.high())
            return true;
        if (pacer.now() - start > limit)
            return false;
        link.waitForDsrChange(pacer, dsr.changes, start + limit, access_.stop);
    }
}

Outcome DisplaySession::waitReady()
{
    if (waitForDsr(kDsrBeforeSetupLimit))
        return outcome();
    return outcome(Outcome::notReady());
}

Outcome DisplaySession::sendSetupRequest(bool sendRequest)
{
    if (!open_)
        return outcome(Outcome::stopped());
    // A display that is not ready fails in both modes: going on would talk to it at the wrong speed.
    if (Outcome ready = waitReady(); !ready)
        return ready;
    if (sendRequest) {
        if (!write(QByteArray(kSetupRequestLength, '\x02')))
            return outcome();
        if (Outcome ack = awaitAck(0); !ack)
            return ack;
    }
    const LinkStatus status = access_.link.setSettings(kSetupSettings);
    // The open port refused the setup rate: reported like any other port failure.
    if (!status.ok())
        return outcome(Outcome::portFailed(status));
    return pause(kRateSwitchPauseMs);
}

Outcome DisplaySession::awaitAck(double graceSeconds)
{
    // A session that did not open, or was closed, waits for nothing; nor does one whose link failed.
    if (!open_)
        return outcome(Outcome::stopped());
    if (linkFailed())
        return outcome();
    AckWait wait(access_.link, access_.pacer, access_.stop);
    const AckWait::Result result = wait.wait(graceSeconds);
    switch (result) {
    case AckWait::Acknowledged:
        return Outcome::passed(); // a stop request is honoured by the next step
    case AckWait::WaitedOut:
    case AckWait::Stopped:
        return outcome();
    case AckWait::Unreadable: // the link has failed: nothing more is sent, not even the NAK lines
        fault_ = LinkStatus::failure(LinkFailure::DsrUnreadable, access_.link.dsrUnreadableReason());
        return outcome();
    case AckWait::Failed:
    case AckWait::TooLate:
        break;
    }
    // The box comes before the NAK lines: the display shows them once the person has read it. An
    // answer the host was too late to tell is not known to have been taken either: try again.
    const bool tooLate = result == AckWait::TooLate;
    if (!stopRequested())
        access_.dialogs.tell(tooLate ? Notice::ackTooLate(wait.failure())
                                     : Notice::ackFailed(wait.failure()));
    write(QByteArray(1, '\x0C'));
    write(QByteArrayLiteral("Flash Write NAK  ???"));
    write(QByteArrayLiteral("Please Try Again ???"));
    return outcome(tooLate ? Outcome::ackTooLate(wait.failure()) : Outcome::noAck(wait.failure()));
}

Outcome DisplaySession::pause(int milliseconds)
{
    // In short slices, so that a stop request ends the pause at once instead of after it.
    constexpr int kSliceMs = 10;
    for (int left = milliseconds; left > 0 && !stopRequested(); left -= kSliceMs)
        access_.pacer.sleep(std::min(left, kSliceMs));
    return outcome();
}

Outcome DisplaySession::confirmAndRestart(Outcome::Success success)
{
    // A confirmation line that could not be sent has been lost with the port, and the restart
    // cannot be sent either: "Display will restart !!" would not be true.
    if (!open_ || halted())
        return outcome(Outcome::stopped());
    access_.dialogs.tell(Notice::restarting(success));
    // The record is stored, but a display that was not told to restart still shows its setup state:
    // a caller (a script running vfdctl) must not take that for a success.
    if (!writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, "F@"})}))
        return outcome(Outcome::stopped());
    return Outcome::done(success);
}

Outcome DisplaySession::confirmFlashWriteAndRestart()
{
    write(buildFrame({0x0C}));
    write(buildFrame({"** Flash Write OK **"}));
    write(buildFrame({"**Display Restart **"}));
    return confirmAndRestart(Outcome::FlashWriteOk);
}
