#pragma once

#include "core/link_status.h"
#include "setup/messages/message.h"

// The number a person sees for what failed on a link, after the serial control the displays were
// first driven by: 8002 missing, 8005 and 8015 in use, 8020 a write, 8010 anything else; 0 where the
// failure has no number of that control (a line that cannot be read).
int linkFailureNumber(LinkFailure what);

// The box of a link's failure: "Port Error", the text of what failed with its number, the system's
// reason as the detail.
Message linkFailureMessage(const LinkStatus& status);
