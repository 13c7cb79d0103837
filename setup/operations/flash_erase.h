#pragma once

#include "setup/protocol/outcome.h"

struct DisplayAccess;

// Erases one flash record: setup request, "FR", the record's command (e.g. "FN", "FC") and four zero
// bytes; on the acknowledgement the 41-byte confirmation with `displayLine`, the box, the restart.
Outcome eraseFlashRecord(DisplayAccess& access, const char* command, const char* displayLine);
