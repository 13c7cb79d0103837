#include "cli/stop_signal.h"

#include <QtGlobal>
#include <csignal>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::atomic_bool stopRequested{false};
static_assert(std::atomic_bool::is_always_lock_free, "the flag is set from a signal handler");

constexpr int kInterruptedStatus = 130;

extern "C" void onStopSignal(int signalNumber)
{
#ifdef Q_OS_WIN
    std::signal(signalNumber, onStopSignal); // Windows resets the handler before calling it
#else
    (void)signalNumber;
#endif
    // Only async-signal-safe calls here: an atomic store, write() and _exit().
    if (stopRequested.exchange(true)) {
        static const char kText[] = "Interrupted again: stopped at once; the port was left as it was\n";
#ifdef Q_OS_WIN
        _write(2, kText, sizeof kText - 1);
#else
        [[maybe_unused]] const auto written = write(2, kText, sizeof kText - 1);
#endif
        _exit(kInterruptedStatus);
    }
}

} // namespace

std::atomic_bool& stopOnSignals()
{
    static const bool kInstalled = [] {
#ifdef Q_OS_WIN
        std::signal(SIGINT, onStopSignal);
        std::signal(SIGTERM, onStopSignal);
#else
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
#endif
        return true;
    }();
    (void)kInstalled;
    return stopRequested;
}
