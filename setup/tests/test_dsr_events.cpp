// The acknowledgement wait on a real port whose driver reports DSR changes, in real time: a
// pseudo-terminal whose modem-line ioctls come from the fake_modem_lines library (LD_PRELOAD), DSR
// high at first and changing on the row's schedule. The step table itself is test_protocol's and the
// fault matrix's, on the simulated display in virtual time.
#include "core/pacer.h"
#include "core/qt_serial_link.h"
#include "setup/protocol/ack_wait.h"
#include "setup/tests/fake_modem_lines.h"
#include "setup/tests/pty_pair.h"

#include <QTest>
#include <QThread>
#include <dlfcn.h>
#include <memory>
#include <signal.h>

namespace {

// Stops this process for `forMs` from `atMs` on, from a child process, as a busy or descheduled
// machine would.
void stopMe(int atMs, int forMs)
{
    const pid_t me = ::getpid();
    if (::fork() != 0)
        return;
    ::usleep(atMs * 1000);
    ::kill(me, SIGSTOP);
    ::usleep(forMs * 1000);
    ::kill(me, SIGCONT);
    ::_exit(0);
}

} // namespace

class DsrEventsTest : public QObject
{
    Q_OBJECT

private slots:
    // The verdict (0 acknowledged, -1 stopped, -2 too late to tell, -4 DSR cannot be read, else the failed
    // step), within a second however busy the machine: a wait that misses a change or a stop request lasts
    // until step 3's limit.
    void acknowledgement_data()
    {
        QTest::addColumn<QList<int>>("changes");
        QTest::addColumn<int>("outputLeavesMs");
        QTest::addColumn<int>("driverCounts"); // as fakeModemLinesStart takes it
        QTest::addColumn<QList<int>>("stop");  // {at, for}: the process stopped; {at}: a stop request
        QTest::addColumn<int>("verdict");
        QTest::newRow("200 ms pulse") << QList<int>{20, 220} << 0 << 1 << QList<int>{} << 0;
        QTest::newRow("30 ms drop") << QList<int>{20, 50} << 0 << 1 << QList<int>{} << 4;
        QTest::newRow("200 ms pulse, begun while the output left")
            << QList<int>{20, 220} << 100 << 1 << QList<int>{} << 0;
        QTest::newRow("30 ms drop, over while the output left")
            << QList<int>{20, 50} << 150 << 1 << QList<int>{} << 4;
        QTest::newRow("30 ms drop, the process stopped across its end")
            << QList<int>{20, 50} << 0 << 1 << QList<int>{35, 80} << -3;
        QTest::newRow("no pulse, a stop request") << QList<int>{} << 0 << 1 << QList<int>{150} << -1;
        QTest::newRow("counted, no wait: 200 ms pulse") << QList<int>{20, 220} << 0 << 2 << QList<int>{} << 0;
        QTest::newRow("polled: 200 ms pulse") << QList<int>{20, 220} << 0 << 0 << QList<int>{} << 0;
        QTest::newRow("device gone before the drop") << QList<int>{100} << 0 << 3 << QList<int>{} << -4;
    }
    void acknowledgement()
    {
        QFETCH(QList<int>, changes);
        QFETCH(int, outputLeavesMs);
        QFETCH(int, driverCounts);
        QFETCH(QList<int>, stop);
        QFETCH(int, verdict);
        const auto start = reinterpret_cast<FakeModemLinesStart>(::dlsym(RTLD_DEFAULT, kFakeModemLinesStart));
        QVERIFY2(start, "run with LD_PRELOAD=libfake_modem_lines.so");
        PtyPair pty;
        QtSerialLink link;
        link.setPortName(pty.path());
        const auto startSchedule = [&] {
            start(1, changes.constData(), static_cast<int>(changes.size()), outputLeavesMs, driverCounts);
        };
        startSchedule();
        QVERIFY(link.open().ok());
        QCOMPARE(link.reportsDsrChanges(), driverCounts > 0);
        startSchedule(); // from the wait's start, however long the open took on a busy machine
        RealPacer pacer;
        if (stop.size() == 2)
            stopMe(stop[0], stop[1]);
        // A stop request comes from another thread, as Cancel's does.
        StopSource stopper;
        const std::unique_ptr<QThread> stopping(QThread::create([&stopper, &stop] {
            if (stop.size() != 1)
                return;
            QThread::msleep(static_cast<unsigned long>(stop[0]));
            stopper.requestStop();
        }));
        stopping->start();
        AckWait wait(link, pacer, stopper.token());
        const AckWait::Result result = wait.wait(0);
        stopping->wait();
        // -3: never acknowledged, a glitch or too late to tell, as the stop happens to fall.
        if (verdict == -3)
            verdict = result == AckWait::TooLate ? -2 : 4;
        QCOMPARE(result == AckWait::Failed       ? wait.failure().step
                 : result == AckWait::Stopped    ? -1
                 : result == AckWait::TooLate    ? -2
                 : result == AckWait::Unreadable ? -4
                                                 : 0,
                 verdict);
        QCOMPARE_LT(pacer.now(), 1.0);
        QCOMPARE(link.reportsDsrChanges(), driverCounts == 1); // no wait: polled from the first on
    }
};

QTEST_GUILESS_MAIN(DsrEventsTest)
#include "test_dsr_events.moc"
