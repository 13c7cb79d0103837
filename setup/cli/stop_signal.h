#pragma once

#include <atomic>

// The flag that a stop from outside raises (SIGINT and SIGTERM; on Windows Ctrl-C, Ctrl-Break and the
// console closing), installed on first use. The running operations look at it between frames and end
// with the port closed; a second stop does not wait for them: the program ends at once with status 130.
std::atomic_bool& stopOnSignals();

inline constexpr int kInterruptedStatus = 130;
