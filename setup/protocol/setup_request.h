#pragma once

#include "core/line_settings.h"

inline const LineSettings kSetupSettings{115200, LineSettings::Parity::None, 8, LineSettings::StopBits::One};
constexpr int kSetupRequestLength = 20;
constexpr int kRateSwitchPauseMs = 100;
