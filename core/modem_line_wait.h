#pragma once

#include <QtGlobal>
#include <optional>

// The driver's own report of modem-line changes on an open port (Linux: TIOCGICOUNT, TIOCMIWAIT).
// Where a driver has none (a pseudo-terminal answers ENOTTY or EINVAL) the port's DSR is polled instead.
namespace ModemLineWait {

// How a wait for a DSR change ended.
enum class End {
    Woken,       // a modem line changed, or the time passed: look at the count again
    Unsupported, // the driver cannot wait for changes
};

// DSR changes the driver has counted since the port was opened; nothing when it does not count them.
std::optional<quint64> dsrChangeCount(int handle);
// Sleeps until a modem line changes or `timeoutMs` has passed. TIOCMIWAIT has no time limit of its own:
// a timer of the calling thread interrupts it with a signal whose handler does nothing. The timer
// fires again every few milliseconds until it is disarmed, so a signal that arrives just before the
// thread enters the wait cannot leave it blocked. No thread is made, and nothing on the line changes.
End waitForChange(int handle, int timeoutMs);

} // namespace ModemLineWait
