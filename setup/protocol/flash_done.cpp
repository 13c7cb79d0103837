#include "protocol/flash_done.h"

#include "protocol/device_context.h"
#include "protocol/display_session.h"
#include "protocol/frame.h"

bool ReportFlashDoneAndRestart(DeviceContext& device, const QString& firstLine)
{
    // A confirmation line that could not be sent has been reported as a port error, and the restart
    // cannot be sent either: "Display will restart !!" would not be true.
    if (device.halted())
        return false;
    device.dialogs.message(Dialogs::NoIcon, QStringLiteral("Port Status"),
                           firstLine + QStringLiteral("\r\nDisplay will restart !!"));
    // The record is stored, but a display that was not told to restart still shows its setup state:
    // a caller (a script running vfdctl) must not take that for a success.
    return device.send(BuildFrame({0x1F, "FR"})) && device.send(BuildFrame({0x1F, "F@"}));
}

bool ConfirmFlashWriteAndRestart(DeviceContext& device)
{
    device.send(BuildFrame({0x0C}));
    device.send(BuildFrame({"** Flash Write OK **"}));
    device.send(BuildFrame({"**Display Restart **"}));
    return ReportFlashDoneAndRestart(device, QStringLiteral("Flash Write OK !!"));
}

bool EraseFlashRecord(DeviceContext& device, const char* command, const char* displayLine)
{
    DisplaySession display(device);
    if (!display.sendSetupRequest())
        return false;
    display.eraseRecord(command);
    if (!display.awaitAck())
        return false;
    display.writeFrame({0x0C, displayLine, "**Display Restart **"});
    return display.confirmAndRestart(QStringLiteral("Flash Erase OK !!"));
}
