#include "flash_done.h"

#include "device_context.h"
#include "frame.h"

void ReportFlashDoneAndRestart(DeviceContext& device, const QString& firstLine)
{
    device.dialogs.message(Dialogs::NoIcon, QStringLiteral("Port Status"),
                           firstLine + QStringLiteral("\r\nDisplay will restart !!"));
    device.send(BuildFrame({0x1F, "FR"}));
    device.send(BuildFrame({0x1F, "F@"}));
}
