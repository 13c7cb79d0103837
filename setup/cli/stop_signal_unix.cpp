// SIGINT and SIGTERM stop vfdctl.
#include "setup/cli/stop_signal_install.h"

#include <csignal>
#include <unistd.h>

namespace {

extern "C" void onStopSignal(int)
{
    raiseStopFlag();
}

} // namespace

void installStopHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void writeToStandardError(const char* text, std::size_t size)
{
    [[maybe_unused]] const auto written = ::write(2, text, size);
}
