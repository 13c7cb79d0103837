#include "protocol/display_port.h"

#include "protocol/device_context.h"
#include "protocol/port_messages.h"

namespace {

// Polls DSR until it is seen or more than `limit` seconds have passed. A stopped operation
// counts as not seen.
bool PollDsr(DeviceContext& device, double limit)
{
    const double start = device.pacer.now();
    for (;;) {
        if (device.halted())
            return false;
        if (device.link.dsr())
            return true;
        if (device.pacer.now() - start > limit)
            return false;
        device.pacer.pump();
    }
}

void ShowDsrNotReady(DeviceContext& device)
{
    // A failed write has been reported already, and it is why DSR is not seen: one box is enough.
    if (device.halted())
        return;
    device.dialogs.message(Dialogs::Exclamation, QStringLiteral("Port Status"),
                           QStringLiteral("Display DSR not ready yet !!"));
}

} // namespace

bool OpenDisplayPort(DeviceContext& device)
{
    if (device.halted())
        return false;
    device.link.setPortName(device.selection.port);
    LinkStatus status = device.selection.lineRefusal.isEmpty()
                            ? device.link.setSettings(device.selection.line)
                            : LinkStatus::failure(LinkError::OpenFailed, device.selection.lineRefusal);
    if (status.ok() && !device.link.isOpen())
        status = device.link.open();
    if (!status.ok()) {
        ShowPortOpenError(device, status);
        CloseDisplayPort(device);
        return false;
    }
    const bool seen = PollDsr(device, kDsrAfterOpenLimit);
    if (!seen) {
        ShowDsrNotReady(device);
        CloseDisplayPort(device);
    }
    return seen;
}

bool CloseDisplayPort(DeviceContext& device)
{
    if (device.link.isOpen()) {
        // The last frames (the restart, the NAK lines) must have left the port before it closes.
        const double start = device.pacer.now();
        while (!device.linkFailed() && device.link.bytesToWrite() > 0 &&
               device.pacer.now() - start <= kDrainLimit)
            device.pacer.pump();
        device.link.close();
    }
    return !device.link.isOpen();
}

bool WaitDisplayReady(DeviceContext& device)
{
    if (PollDsr(device, kDsrBeforeSetupLimit))
        return true;
    ShowDsrNotReady(device);
    return false;
}
