#pragma once

#include "setup/protocol/refusal.h"

#include <QString>
#include <optional>

// The check of a chosen DEMO file: it must open with the block signature 55 AA 5A A5. A file of fewer
// than four bytes (missing and empty ones too) is refused as too short, four other bytes as without the
// signature, a file that exists but cannot be read as unreadable; nothing for a DEMO file.
std::optional<Refusal> checkDemoFile(const QString& path);
