// The port steps of a display session: the open with its presence wait, the wait for DSR before the
// setup request, and the close that lets the last frames leave the port first.
#include "protocol/display_port.h"

#include "protocol/display_session.h"

bool DisplaySession::pollDsr(double limit)
{
    Pacer& pacer = access_.pacer;
    const double start = pacer.now();
    for (;;) {
        if (halted())
            return false;
        if (access_.link.dsr())
            return true;
        if (pacer.now() - start > limit)
            return false;
        pacer.pump();
    }
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
                            : LinkStatus::failure(LinkError::OpenFailed, selection.lineRefusal);
    if (status.ok() && !link.isOpen())
        status = link.open();
    if (!status.ok()) {
        close();
        return outcome(Outcome::portFailed(status));
    }
    if (!pollDsr(kDsrAfterOpenLimit)) {
        close();
        // A failed write has been reported already, and it is why DSR is not seen: one box is enough.
        return outcome(Outcome::notReady());
    }
    open_ = true;
    return Outcome::passed();
}

bool DisplaySession::close()
{
    SerialLink& link = access_.link;
    if (link.isOpen()) {
        // The last frames (the restart, the NAK lines) must have left the port before it closes.
        Pacer& pacer = access_.pacer;
        const double start = pacer.now();
        while (!linkFailed() && link.bytesToWrite() > 0 && pacer.now() - start <= kDrainLimit)
            pacer.pump();
        link.close();
    }
    open_ = false;
    return !link.isOpen();
}

Outcome DisplaySession::waitReady()
{
    if (pollDsr(kDsrBeforeSetupLimit))
        return outcome();
    return outcome(Outcome::notReady());
}
