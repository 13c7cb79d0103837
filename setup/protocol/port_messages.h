#pragma once

#include "core/link_status.h"

#include <QString>

class DeviceContext;

// "Port Error" texts for the failure numbers of a link.
QString PortErrorText(int number);

// Shows the "Port Error" box for a failed open (critical-stop icon, the system's reason as detail).
void ShowPortOpenError(DeviceContext& device, const LinkStatus& status);
// Shows the "Port Error" box for a write that failed while the port was open.
void ShowPortWriteError(DeviceContext& device, const LinkStatus& status);
