#include "setup/cli/stop_signal.h"

#include "setup/cli/stop_signal_install.h"

#include <cstdlib>

namespace {

std::atomic_bool raised{false};
static_assert(std::atomic_bool::is_always_lock_free, "the flag is set from a signal handler");

} // namespace

void raiseStopFlag()
{
    // Only async-signal-safe calls here: an atomic store, the platform's raw write and _exit().
    if (raised.exchange(true)) {
        static const char kText[] = "Interrupted again: stopped at once; the port was left as it was\n";
        writeToStandardError(kText, sizeof kText - 1);
        std::_Exit(kInterruptedStatus);
    }
}

std::atomic_bool& stopOnSignals()
{
    static const bool kInstalled = [] {
        installStopHandlers();
        return true;
    }();
    (void)kInstalled;
    return raised;
}
