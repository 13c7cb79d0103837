// A serial driver's modem-line reports, played over a pseudo-terminal: loaded with LD_PRELOAD, the library
// answers TIOCMGET, TIOCGICOUNT, TIOCMIWAIT and TIOCOUTQ from a schedule the caller gives, in real time.
// Until a schedule is given every ioctl goes to the system unchanged.
#pragma once

extern "C" {
// Starts a schedule now: DSR high or low at first, then changing at each of `changeMs` (milliseconds from
// now, rising). The output queue reads 100 bytes until `outputLeavesMs`. With `driverCounts` 0 the driver
// has no change count and no wait (EINVAL), as a pseudo-terminal's.
using FakeModemLinesStart = void (*)(int dsrHigh, const int* changeMs, int count, int outputLeavesMs,
                                     int driverCounts);
}

// The name the test looks the starter up by.
inline constexpr const char* kFakeModemLinesStart = "fakeModemLinesStart";
