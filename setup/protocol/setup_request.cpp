// The setup request step of a display session.
#include "protocol/setup_request.h"

#include "protocol/display_session.h"

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
