#pragma once

#include "setup/sim/simulated_display.h"

#include <QString>
#include <optional>

// The faults a person can give a simulated display by name, so that a failing display in a batch
// can be seen: "absent" (DSR never rises), "no-ack" (no frame is acknowledged), "no-ack-after:N"
// (only the first N frames are), "dsr-late" (DSR rises 1.5 s after the port opens, later than a
// program waits for it).
inline const QString kSimulatedFaultNames = QStringLiteral("absent, no-ack, no-ack-after:N, dsr-late");

// The faults named by `text`; nothing for a name not in the list.
std::optional<SimulatedDisplay::Faults> simulatedFaultNamed(const QString& text);
