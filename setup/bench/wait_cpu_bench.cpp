// Measures what the acknowledgement wait costs on the real pacer: the processor time it uses while it
// waits, and the longest gap between two looks at DSR (which decides how sharp the 50 ms window of
// the low pulse is). Run: build/default/setup/bench/bench_wait_cpu
// A bare loop of the same one-millisecond sleep is measured first: what the machine itself allows
// (a virtual machine's scheduler can hold a sleeping thread for several milliseconds), against which
// the waits' own figures are to be read.
#include "core/pacer.h"
#include "setup/bench/bench_loop.h"
#include "setup/protocol/display_access.h"
#include "setup/protocol/display_session.h"
#include "setup/protocol/setup_request.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/scripted_dialogs.h"

#include <QCoreApplication>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

// Counts the looks at DSR and the longest time between two of them.
class SampledLink : public SerialLink
{
public:
    SampledLink(SerialLink& inner, const Pacer& pacer) : inner_(inner), pacer_(pacer) {}
    void setPortName(const QString& name) override { inner_.setPortName(name); }
    QString portName() const override { return inner_.portName(); }
    LinkStatus setSettings(const LineSettings& s) override { return inner_.setSettings(s); }
    LineSettings settings() const override { return inner_.settings(); }
    LinkStatus open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    LinkStatus write(const QByteArray& bytes) override { return inner_.write(bytes); }
    DsrLevel dsr() override
    {
        // The session's presence wait at its open is not measured: the display is taken as present.
        if (!measuring)
            return DsrLevel::High;
        sample();
        return inner_.dsr();
    }
    qint64 bytesToWrite() override
    {
        sample();
        return inner_.bytesToWrite();
    }
    bool measuring = false;
    double longestGap = 0;
    long samples = 0;

private:
    void sample()
    {
        const double now = pacer_.now();
        if (samples++ > 0)
            longestGap = std::max(longestGap, now - last_);
        last_ = now;
    }
    SerialLink& inner_;
    const Pacer& pacer_;
    double last_ = 0;
};

// A display that lets every step of the wait run almost to its limit, so the wait fails only after
// its full length (6 + 6 + 3 + 0.05 + 1 s).
class SlowestDisplay : public SerialLink
{
public:
    explicit SlowestDisplay(const Pacer& pacer) : pacer_(pacer) {}
    void setPortName(const QString&) override {}
    QString portName() const override { return QStringLiteral("slowest"); }
    LinkStatus setSettings(const LineSettings&) override { return {}; }
    LineSettings settings() const override { return kSetupSettings; }
    LinkStatus open() override
    {
        start_ = pacer_.now();
        return {};
    }
    void close() override {}
    bool isOpen() const override { return true; }
    LinkStatus write(const QByteArray&) override { return {}; }
    DsrLevel dsr() override
    {
        const double t = pacer_.now() - start_;
        return t >= 11.95 && t < 14.9 ? DsrLevel::High : DsrLevel::Low; // rises late, drops late, never back
    }
    qint64 bytesToWrite() override { return pacer_.now() - start_ < 5.98 ? 1 : 0; }

private:
    const Pacer& pacer_;
    double start_ = 0;
};

void measure(QTextStream& out, const QString& name, SerialLink& display, RealPacer& pacer)
{
    SampledLink link(display, pacer);
    ScriptedDialogs dialogs;
    DisplayAccess access(link, pacer, dialogs);
    link.open();
    DisplaySession session(access);
    link.measuring = true;
    const double wallStart = pacer.now();
    const double cpuStart = processSeconds();
    const bool acknowledged = static_cast<bool>(session.awaitAck(0));
    const double wall = pacer.now() - wallStart;
    const double cpu = processSeconds() - cpuStart;
    out << QStringLiteral(
               "%1: %2 after %3 s; processor %4 s = %5 % of one core; %6 DSR samples, longest gap %7 ms\n")
               .arg(name, -34)
               .arg(acknowledged ? "acknowledged" : dialogs.messages().value(0).section(' ', 3, 3).left(9))
               .arg(wall, 0, 'f', 3)
               .arg(cpu, 0, 'f', 3)
               .arg(100.0 * cpu / wall, 0, 'f', 2)
               .arg(link.samples)
               .arg(link.longestGap * 1000.0, 0, 'f', 2);
    out.flush();
    link.close();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    RealPacer pacer;

    measureBareLoop(out, pacer, 16.0);

    SlowestDisplay slowest(pacer);
    measure(out, "every step to its limit (~16 s)", slowest, pacer);

    SimulatedDisplay silent(pacer);
    SimulatedDisplay::Faults faults;
    faults.acknowledgeFirst = 0;
    silent.setFaults(faults);
    measure(out, "simulated display, no pulse (3 s)", silent, pacer);

    SimulatedDisplay answering(pacer);
    answering.open();
    answering.write(QByteArray(20, '\x02'));
    measure(out, "simulated display, 200 ms pulse", answering, pacer);
    return 0;
}
