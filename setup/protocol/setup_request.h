#pragma once

#include <QString>

class DeviceContext;

#include "core/line_settings.h"

inline const LineSettings kSetupSettings{115200, LineSettings::Parity::None, 8, LineSettings::StopBits::One};
constexpr int kSetupRequestLength = 20;
constexpr int kRateSwitchPauseMs = 100;

// Asks the display into its setup state (20 bytes 0x02, acknowledged) when `sendRequest` is true,
// then switches the open port to 115200,N,8,1. With `sendRequest` false the display is expected to
// be in its setup state already (forced firmware mode) and only the rate is switched. False when the
// display is not ready or did not acknowledge; the person has been told, the settings are unchanged.
bool SendSetupRequest(DeviceContext& device, bool sendRequest);
