#include "protocol/setup_request.h"

#include "protocol/device_context.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/port_messages.h"

bool SendSetupRequest(DeviceContext& device, bool sendRequest)
{
    // A display that is not ready fails in both modes: going on would talk to it at the wrong speed.
    if (!WaitDisplayReady(device))
        return false;
    if (sendRequest) {
        if (!device.send(QByteArray(kSetupRequestLength, '\x02')))
            return false;
        if (!WaitDisplayAck(device, 0))
            return false;
    }
    const LinkStatus status = device.link.setSettings(kSetupSettings);
    if (!status.ok()) {
        // The open port refused the setup rate: report it like any other port failure.
        ShowPortOpenError(device, status);
        return false;
    }
    device.pacer.sleep(kRateSwitchPauseMs);
    return !device.halted();
}
