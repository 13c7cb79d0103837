#include "flash_done.h"

#include "device_context.h"
#include "frame.h"

void ReportFlashDoneAndRestart(DeviceContext& device, const QString& firstLine)
{
    // A confirmation line that could not be sent has been reported as a port error, and the restart
    // cannot be sent either: "Display will restart !!" would not be true.
    if (device.halted())
        return;
    device.dialogs.message(Dialogs::NoIcon, QStringLiteral("Port Status"),
                           firstLine + QStringLiteral("\r\nDisplay will restart !!"));
    device.send(BuildFrame({0x1F, "FR"}));
    device.send(BuildFrame({0x1F, "F@"}));
}
