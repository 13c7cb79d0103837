// Measures the acknowledgement wait on a real port whose driver reports DSR changes, beside the same port
// polled: a pseudo-terminal whose modem-line ioctls come from the fake_modem_lines library of the tests,
// which plays DSR on a schedule in real time (the bench preloads it itself). Prints
// - the processor time of a wait that fails after its full ~16 s on each path, each beside a bare 1 ms
//   pause loop measured just before it (the goal for the event path: at most a tenth of the loop's);
// - the verdicts on 200 ms acknowledgements and 30 ms drops with both cores kept busy by two spinning
//   processes, then again with this process also stopped for 80 ms (SIGSTOP, SIGCONT) in the middle of
//   each pulse (the goal for the event path: every verdict right).
// Run: build/default/setup/bench/bench_dsr_events [--trials 20] [--no-cpu] [--no-pulses]
#include "core/qt_serial_link.h"
#include "setup/bench/bench_loop.h"
#include "setup/protocol/ack_wait.h"
#include "setup/tests/fake_modem_lines.h"
#include "setup/tests/pty_pair.h"

#include <QCoreApplication>
#include <QList>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/wait.h>

namespace {

FakeModemLinesStart fakeStart = nullptr;

// A DSR schedule for one wait: the level at first, the changes (ms from the start), when the output has
// left, and the process stopped for `stopForMs` from `stopAtMs` (none when 0).
struct Schedule
{
    bool dsrHigh = true;
    QList<int> changes;
    int outputLeavesMs = 0;
    int stopAtMs = 0;
    int stopForMs = 0;
};

struct Verdict
{
    bool acknowledged = false;
    int step = 0;
    double seconds = 0;
    double cpu = 0;
};

// A child process that stops this one for `forMs` from `atMs` on.
pid_t stopLater(int atMs, int forMs)
{
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::usleep(atMs * 1000);
    ::kill(parent, SIGSTOP);
    ::usleep(forMs * 1000);
    ::kill(parent, SIGCONT);
    ::_exit(0);
}

Verdict runWait(const Schedule& schedule, bool driverCounts)
{
    PtyPair pty;
    QtSerialLink link;
    link.setPortName(pty.path());
    const auto startSchedule = [&] {
        fakeStart(schedule.dsrHigh, schedule.changes.constData(), static_cast<int>(schedule.changes.size()),
                  schedule.outputLeavesMs, driverCounts);
    };
    startSchedule(); // the open asks the driver what it reports
    link.open();
    startSchedule(); // the schedule runs from the wait's start, however long the open took
    RealPacer pacer;
    const pid_t stopper = schedule.stopForMs > 0 ? stopLater(schedule.stopAtMs, schedule.stopForMs) : 0;
    const double cpuStart = processSeconds();
    AckWait wait(link, pacer, {});
    const AckWait::Result result = wait.wait(0);
    Verdict verdict{result == AckWait::Acknowledged, wait.failure().step, pacer.now(),
                    processSeconds() - cpuStart};
    if (stopper > 0)
        ::waitpid(stopper, nullptr, 0);
    link.close();
    return verdict;
}

// The wait that fails after all its steps: the output leaves after 5.98 s, DSR rises at 11.95 s, drops
// at 14.9 s and never comes back.
void measureFailingWait(QTextStream& out, RealPacer& pacer, bool driverCounts)
{
    const double floor = measureBareLoop(out, pacer, 16.0);
    const Verdict v = runWait({false, {11950, 14900}, 5980, 0, 0}, driverCounts);
    out << QStringLiteral(
               "%1: failed at step %2 after %3 s; processor %4 s = %5 % of one core, %6 of the loop's\n")
               .arg(driverCounts ? QStringLiteral("event path, every step to its limit")
                                 : QStringLiteral("polling path, every step to its limit"),
                    -34)
               .arg(v.step)
               .arg(v.seconds, 0, 'f', 3)
               .arg(v.cpu, 0, 'f', 3)
               .arg(100.0 * v.cpu / v.seconds, 0, 'f', 2)
               .arg(v.cpu / v.seconds / floor, 0, 'f', 3);
    out.flush();
}

// Two processes that spin until they are killed: both cores busy.
QList<pid_t> saturateCores()
{
    QList<pid_t> spinners;
    for (int i = 0; i < 2; ++i) {
        const pid_t child = ::fork();
        if (child == 0)
            for (std::atomic_ulong n = 0;;)
                n.fetch_add(1, std::memory_order_relaxed);
        spinners << child;
    }
    return spinners;
}

// Right verdicts of `trials` waits for a pulse of `widthMs` 20 ms after the wait begins; the process
// stopped for 80 ms in the pulse's middle when `stopped`.
int rightVerdicts(int widthMs, bool stopped, bool driverCounts, int trials)
{
    int right = 0;
    for (int i = 0; i < trials; ++i) {
        const Schedule schedule{
            true, {20, 20 + widthMs}, 0, stopped ? 20 + widthMs / 2 : 0, stopped ? 80 : 0};
        const Verdict v = runWait(schedule, driverCounts);
        right += v.acknowledged == (widthMs > 50) ? 1 : 0;
    }
    return right;
}

void measurePulses(QTextStream& out, int trials)
{
    const QList<pid_t> spinners = saturateCores();
    out << QStringLiteral("both cores busy (two spinning processes); right verdicts of %1 each:\n")
               .arg(trials)
        << QStringLiteral("%1  event path  polling path\n").arg(QString(), -46);
    for (bool stopped : {false, true}) {
        for (int width : {200, 30}) {
            const QString row =
                QStringLiteral("%1 ms %2%3")
                    .arg(width)
                    .arg(width > 50 ? QStringLiteral("acknowledgements") : QStringLiteral("drops"))
                    .arg(stopped ? QStringLiteral(", stopped 80 ms mid-pulse") : QString());
            const int events = rightVerdicts(width, stopped, true, trials);
            const int polled = rightVerdicts(width, stopped, false, trials);
            out << QStringLiteral("%1  %2/%3       %4/%3\n")
                       .arg(row, -46)
                       .arg(events, 5)
                       .arg(trials)
                       .arg(polled, 5);
            out.flush();
        }
    }
    for (pid_t spinner : spinners) {
        ::kill(spinner, SIGKILL);
        ::waitpid(spinner, nullptr, 0);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    fakeStart = reinterpret_cast<FakeModemLinesStart>(::dlsym(RTLD_DEFAULT, kFakeModemLinesStart));
    if (!fakeStart) {
        // The driver's reports come from the preloaded library: run again with it.
        ::setenv("LD_PRELOAD", FAKE_MODEM_LINES_PATH, 1);
        ::execv("/proc/self/exe", argv);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int trials = args.contains("--trials") ? args.value(args.indexOf("--trials") + 1).toInt() : 20;
    QTextStream out(stdout);
    RealPacer pacer;
    if (!args.contains("--no-cpu")) {
        measureFailingWait(out, pacer, true);
        measureFailingWait(out, pacer, false);
    }
    if (!args.contains("--no-pulses"))
        measurePulses(out, trials);
    return 0;
}
