#pragma once

#include "core/line_settings.h"

// The setup request: 20 bytes 0x02 at the display's own settings, acknowledged, after which the display
// listens at 115200,N,8,1; the host switches its port too and pauses before the next frame.
inline const LineSettings kSetupSettings{115200, LineSettings::Parity::None, 8, LineSettings::StopBits::One};
constexpr int kSetupRequestLength = 20;
constexpr int kRateSwitchPauseMs = 100;
