// Measures the acknowledgement wait on the simulated display in real time when the host is away from the
// processor right after it saw DSR drop (it sleeps there, as a descheduled process would): each trial
// sends the setup request and waits for its answer, a pulse of the given width. Prints how many were
// acknowledged, failed (and at which step) and left unknown (and how late the host looked).
// Run: build/default/setup/bench/bench_busy_ack [--trials 20] [--pulse-ms 20] [--away-ms 150]
#include "core/pacer.h"
#include "setup/protocol/ack_wait.h"
#include "setup/sim/simulated_display.h"

#include <QCoreApplication>
#include <QMap>
#include <QTextStream>
#include <QThread>

namespace {

// The simulated display, with the host away for `awayMs` at the first look after the one that saw DSR
// low: the look itself is made only after the host is back.
class AwayAfterDrop : public SimulatedDisplay
{
public:
    AwayAfterDrop(const Pacer& clock, int awayMs) : SimulatedDisplay(clock), awayMs_(awayMs) {}
    DsrEvents dsrEvents() override
    {
        if (sawDrop_ && !away_) {
            away_ = true;
            QThread::msleep(static_cast<unsigned long>(awayMs_));
        }
        const DsrEvents events = SimulatedDisplay::dsrEvents();
        sawDrop_ = sawDrop_ || !events.high();
        return events;
    }

private:
    int awayMs_;
    bool sawDrop_ = false;
    bool away_ = false;
};

int option(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int trials = option(args, "--trials", 20);
    const int pulseMs = option(args, "--pulse-ms", 20);
    const int awayMs = option(args, "--away-ms", 150);
    QMap<QString, int> verdicts;
    for (int i = 0; i < trials; ++i) {
        RealPacer pacer;
        AwayAfterDrop display(pacer, awayMs);
        SimulatedDisplay::Faults faults;
        faults.pulseWidth = pulseMs / 1000.0;
        display.setFaults(faults);
        display.open();
        display.write(QByteArray(20, '\x02'));
        AckWait wait(display, pacer, {});
        const AckWait::Result result = wait.wait(0);
        const AckFailure& failure = wait.failure();
        const QString verdict = result == AckWait::Acknowledged ? QStringLiteral("acknowledged")
                                : result == AckWait::TooLate
                                    ? QStringLiteral("unknown at step %1, DSR unwatched %2 ms")
                                          .arg(failure.step)
                                          .arg(failure.unwatchedMs)
                                    : QStringLiteral("failed at step %1").arg(failure.step);
        ++verdicts[verdict];
    }
    QTextStream out(stdout);
    out << trials << " trials, pulse " << pulseMs << " ms, host away " << awayMs << " ms after the drop\n";
    for (auto it = verdicts.cbegin(); it != verdicts.cend(); ++it)
        out << "  " << it.value() << "  " << it.key() << "\n";
    return 0;
}
