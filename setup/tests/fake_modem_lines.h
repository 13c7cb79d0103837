// A serial driver's modem-line reports, played over a pseudo-terminal: loaded with LD_PRELOAD, the library
// answers TIOCMGET, TIOCGICOUNT, TIOCMIWAIT and TIOCOUTQ from a schedule the caller gives, in real time.
// Until a schedule is given every ioctl goes to the system unchanged.
#pragma once

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
