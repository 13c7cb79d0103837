#pragma once

class DeviceContext;

// Limits of the presence waits, in seconds.
constexpr double kDsrAfterOpenLimit = 1.0;
constexpr double kDsrBeforeSetupLimit = 0.6;
// How long a close waits for written bytes to leave the port.
constexpr double kDrainLimit = 2.0;

// Applies the port selection, opens the port and waits up to 1.0 s for DSR. True: open with the
// selection and the display holds DSR. False: the person has been told why and the port is closed.
bool OpenDisplayPort(DeviceContext& device);
// Lets what was written leave the port (up to 2.0 s), then closes it if it is open; true when it is closed
// afterwards.
bool CloseDisplayPort(DeviceContext& device);
// Waits up to 0.6 s for DSR on the open port; false after the "Display DSR not ready yet !!" box.
bool WaitDisplayReady(DeviceContext& device);
