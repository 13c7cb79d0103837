#pragma once

#include "setup/cli/cli_command.h"

// A record, title page, DEMO or balance is the same whether the display takes it once or twice: where
// the host was too late to tell the display's answer (a busy machine), the job runs once more. A
// firmware page is never sent again this way: the display takes each page once, in order.
CliJob retriedWhenTooLate(CliJob job);
