// The LD_PRELOAD library of fake_modem_lines.h.
#include "setup/tests/fake_modem_lines.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kMaxChanges = 64;

struct Schedule
{
    std::atomic_bool active = false;
    long long startNs = 0;
    bool dsrHigh = false;
    int changeMs[kMaxChanges] = {};
    int count = 0;
    int outputLeavesMs = 0;
    int driverCounts = 1;
} schedule;

long long nowNs()
{
    timespec t = {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

double elapsedMs()
{
    return (nowNs() - schedule.startNs) / 1e6;
}

// The changes that have come by now.
int changesSoFar()
{
    int n = 0;
    while (n < schedule.count && schedule.changeMs[n] <= elapsedMs())
        ++n;
    return n;
}

// Sleeps until `ns` on the monotonic clock; false when a signal handler ran first.
bool sleepUntil(long long ns)
{
    const timespec until = {static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
    return ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == 0;
}

// Comes back at the next change, or when a signal interrupts it (EINTR).
int waitForChange()
{
    const int seen = changesSoFar();
    const long long next = seen < schedule.count ? schedule.startNs + schedule.changeMs[seen] * 1000000LL
                                                 : nowNs() + 3600 * 1000000000LL;
    if (sleepUntil(next))
        return 0;
    errno = EINTR;
    return -1;
}

int refused()
{
    errno = EINVAL;
    return -1;
}

// The line another process plays (FAKE_MODEM_LINES_FILE), mapped on first use; null without one.
FakeModemLinesShared* sharedLine()
{
    static FakeModemLinesShared* const kLine = []() -> FakeModemLinesShared* {
        const char* path = std::getenv(kFakeModemLinesFileVariable);
        const int fd = path ? ::open(path, O_RDWR) : -1;
        if (fd < 0)
            return nullptr;
        void* map = ::mmap(nullptr, sizeof(FakeModemLinesShared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ::close(fd);
        return map == MAP_FAILED ? nullptr : static_cast<FakeModemLinesShared*>(map);
    }();
    return kLine;
}

// Answers a modem-line request from the shared line; false for any other request.
bool answerFromSharedLine(FakeModemLinesShared& line, unsigned long request, void* argument, int& result)
{
    result = 0;
    switch (request) {
    case TIOCMGET:
        *static_cast<int*>(argument) =
            line.dsrHigh.load() ? TIOCM_DSR | TIOCM_CTS | TIOCM_CD : TIOCM_CTS | TIOCM_CD;
        return true;
    case TIOCGICOUNT:
        *static_cast<serial_icounter_struct*>(argument) = {};
        static_cast<serial_icounter_struct*>(argument)->dsr = line.dsrChanges.load();
        return true;
    case TIOCMIWAIT: {
        // Looks every millisecond, as the far end changes the line in real time.
        const int seen = line.dsrChanges.load();
        while (line.dsrChanges.load() == seen) {
            if (!sleepUntil(nowNs() + 1000000LL)) {
                errno = EINTR;
                result = -1;
                return true;
            }
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace

extern "C" void fakeModemLinesStart(int dsrHigh, const int* changeMs, int count, int outputLeavesMs,
                                    int driverCounts)
{
    schedule.active = false;
    schedule.dsrHigh = dsrHigh != 0;
    schedule.count = count < kMaxChanges ? count : kMaxChanges;
    for (int i = 0; i < schedule.count; ++i)
        schedule.changeMs[i] = changeMs[i];
    schedule.outputLeavesMs = outputLeavesMs;
    schedule.driverCounts = driverCounts;
    schedule.startNs = nowNs();
    schedule.active = true;
}

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    using Ioctl = int (*)(int, unsigned long, void*);
    static const auto kSystemIoctl = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    if (FakeModemLinesShared* line = sharedLine()) {
        int result = 0;
        return answerFromSharedLine(*line, request, argument, result) ? result
                                                                      : kSystemIoctl(fd, request, argument);
    }
    if (!schedule.active)
        return kSystemIoctl(fd, request, argument);
    // A device that has gone takes its modem lines with it.
    const bool gone = schedule.driverCounts == 3 && elapsedMs() >= schedule.changeMs[0];
    if (gone && (request == TIOCMGET || request == TIOCGICOUNT || request == TIOCMIWAIT)) {
        errno = EIO;
        return -1;
    }
    switch (request) {
    case TIOCMGET:
        *static_cast<int*>(argument) = schedule.dsrHigh == (changesSoFar() % 2 == 0) ? TIOCM_DSR : 0;
        return 0;
    case TIOCGICOUNT:
        if (schedule.driverCounts == 0)
            return refused();
        *static_cast<serial_icounter_struct*>(argument) = {};
        static_cast<serial_icounter_struct*>(argument)->dsr = changesSoFar();
        return 0;
    case TIOCMIWAIT:
        return schedule.driverCounts == 1 || schedule.driverCounts == 3 ? waitForChange() : refused();
    case TIOCOUTQ:
        *static_cast<int*>(argument) = elapsedMs() < schedule.outputLeavesMs ? 100 : 0;
        return 0;
    default:
        return kSystemIoctl(fd, request, argument);
    }
}
