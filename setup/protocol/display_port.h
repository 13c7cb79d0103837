#pragma once

// Limits of the presence waits of a display session, in seconds.
constexpr double kDsrAfterOpenLimit = 1.0;
constexpr double kDsrBeforeSetupLimit = 0.6;
// How long a close waits for written bytes to leave the port.
constexpr double kDrainLimit = 2.0;
