#pragma once

#include <QString>

class DeviceContext;

// The end of every successful flash write or erase: the "Port Status" box (no icon) with its first
// line and "Display will restart !!", then, once the person has closed it, "FR" and "F@", after which
// the display restarts. The confirmation lines on the display come before, each operation its own.
// False when the box or the restart could not be sent (the port failed, or the operation was stopped).
bool ReportFlashDoneAndRestart(DeviceContext& device, const QString& firstLine);

// The display's "** Flash Write OK **" / "**Display Restart **" lines, as three writes (the clear
// byte, then each line), then ReportFlashDoneAndRestart with "Flash Write OK !!".
bool ConfirmFlashWriteAndRestart(DeviceContext& device);

// Erases one flash record: setup request, "FR", the record's command (e.g. "FN", "FC") and four zero
// bytes; on the acknowledgement the 41-byte confirmation with `displayLine`, the box, the restart.
// The port is closed on every path; true when the display acknowledged and was told to restart.
bool EraseFlashRecord(DeviceContext& device, const char* command, const char* displayLine);
