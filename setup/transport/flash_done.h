#pragma once

#include <QString>

class DeviceContext;

// The end of every successful flash write or erase: the "Port Status" box (no icon) with its first
// line and "Display will restart !!", then, once the person has closed it, "FR" and "F@", after which
// the display restarts. The confirmation lines on the display come before, each operation its own.
void ReportFlashDoneAndRestart(DeviceContext& device, const QString& firstLine);
