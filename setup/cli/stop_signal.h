#pragma once

#include <atomic>

// The flag that SIGINT and SIGTERM raise, installed on first use. The running operations look at it
// between frames and end with the port closed; a second signal does not wait for them: the program
// ends at once with status 130.
std::atomic_bool& stopOnSignals();
