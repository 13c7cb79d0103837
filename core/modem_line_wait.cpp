#include "core/modem_line_wait.h"

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <ctime>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

#include <linux/serial.h>

namespace {

// The signal that ends a timed wait. Its handler does nothing; it is installed without SA_RESTART, so
// that the interrupted ioctl returns instead of starting again.
int wakeSignal()
{
    return SIGRTMIN + 4;
}

void ignoreWake(int) {}

void installWakeHandler()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action = {};
        action.sa_handler = ignoreWake;
        sigemptyset(&action.sa_mask);
        ::sigaction(wakeSignal(), &action, nullptr);
    });
}

// A one-shot timer of the calling thread that sends the wake signal at `timeoutMs`, then every
// kRepeatMs until it is gone: a first signal that came before the ioctl began is followed by another.
class WakeTimer
{
public:
    explicit WakeTimer(int timeoutMs)
    {
        sigevent event = {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = wakeSignal();
        event._sigev_un._tid = ::gettid(); // sigev_notify_thread_id, which glibc leaves out
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0)
            return;
        made_ = true;
        itimerspec timing = {};
        timing.it_value = toTimespec(timeoutMs > 0 ? timeoutMs : 0);
        if (timeoutMs <= 0)
            timing.it_value.tv_nsec = 1; // zero would disarm it
        timing.it_interval = toTimespec(kRepeatMs);
        ::timer_settime(timer_, 0, &timing, nullptr);
    }
    ~WakeTimer()
    {
        if (made_)
            ::timer_delete(timer_);
    }
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;
    bool made() const { return made_; }

private:
    static constexpr int kRepeatMs = 5;
    static timespec toTimespec(int ms) { return {ms / 1000, (ms % 1000) * 1000000L}; }
    timer_t timer_ = {};
    bool made_ = false;
};

// The wake signal is let through only while this thread waits; one still pending afterwards is taken
// off, so that it interrupts nothing else.
class WakeWindow
{
public:
    WakeWindow()
    {
        sigemptyset(&set_);
        sigaddset(&set_, wakeSignal());
        ::pthread_sigmask(SIG_UNBLOCK, &set_, nullptr);
    }
    ~WakeWindow()
    {
        ::pthread_sigmask(SIG_BLOCK, &set_, nullptr);
        const timespec now = {0, 0};
        while (::sigtimedwait(&set_, nullptr, &now) > 0) {
        }
    }
    WakeWindow(const WakeWindow&) = delete;
    WakeWindow& operator=(const WakeWindow&) = delete;

private:
    sigset_t set_;
};

} // namespace

std::optional<quint64> ModemLineWait::dsrChangeCount(int handle)
{
    serial_icounter_struct counts = {};
    if (::ioctl(handle, TIOCGICOUNT, &counts) != 0)
        return std::nullopt;
    return static_cast<quint64>(static_cast<unsigned>(counts.dsr));
}

ModemLineWait::End ModemLineWait::waitForChange(int handle, int timeoutMs)
{
    installWakeHandler();
    const WakeWindow window;
    const WakeTimer timer(timeoutMs);
    if (!timer.made())
        return End::Unsupported;
    // Any other failure (ENOTTY or EINVAL from a driver without the wait, EIO from a device gone) is
    // taken as no wait at all: the caller polls, and never spins on a wait that returns at once.
    if (::ioctl(handle, TIOCMIWAIT, TIOCM_DSR) == 0 || errno == EINTR)
        return End::Woken;
    return End::Unsupported;
}

#else

std::optional<quint64> ModemLineWait::dsrChangeCount(int)
{
    return std::nullopt;
}

ModemLineWait::End ModemLineWait::waitForChange(int, int)
{
    return End::Unsupported;
}

#endif
