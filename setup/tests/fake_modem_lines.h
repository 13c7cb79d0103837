// A serial driver's modem-line reports, played over a pseudo-terminal: loaded with LD_PRELOAD, the library
// answers TIOCMGET, TIOCGICOUNT, TIOCMIWAIT and TIOCOUTQ from a schedule the caller gives, in real time.
// Until a schedule is given every ioctl goes to the system unchanged.
#pragma once

#include <atomic>

extern "C" {
// Starts a schedule now: DSR high or low at first, then changing at each of `changeMs` (milliseconds from
// now, rising). The output queue reads 100 bytes until `outputLeavesMs`. `driverCounts` 1: the driver
// counts DSR changes and waits for them; 0: neither (EINVAL), as a pseudo-terminal; 2: it counts them
// but cannot wait; 3: as 1, until the device goes at the first of `changeMs`: from then on every
// modem-line ioctl fails (EIO).
using FakeModemLinesStart = void (*)(int dsrHigh, const int* changeMs, int count, int outputLeavesMs,
                                     int driverCounts);
}

// The name the test looks the starter up by.
inline constexpr const char* kFakeModemLinesStart = "fakeModemLinesStart";

// Played from another process instead (FAKE_MODEM_LINES_FILE names the file): a display at the far end
// of the pseudo-terminal keeps DSR's level and its count of changes in a file of this layout, mapped
// shared by both. The library then answers TIOCMGET, TIOCGICOUNT and TIOCMIWAIT from it, on every
// descriptor, from the first ioctl on.
struct FakeModemLinesShared
{
    std::atomic<int> dsrHigh;
    std::atomic<int> dsrChanges;
};
inline constexpr const char* kFakeModemLinesFileVariable = "FAKE_MODEM_LINES_FILE";
