#pragma once

#include <atomic>

// The flag that a stop from outside raises (SIGINT and SIGTERM; on Windows Ctrl-C, Ctrl-Break and the
// console closing), installed on first use. A handler can do no more than raise it; each port's device
// worker gives it to its jobs' stop tokens (DeviceWiring::stopSignal), so the running operations see it
// as their stop request at their next frame and end with the port closed. A second stop does not wait
// for them: the program ends at once with status 130.
std::atomic_bool& stopOnSignals();

inline constexpr int kInterruptedStatus = 130;
