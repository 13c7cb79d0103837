// The port worker on its own: jobs run in order on its thread, a write waits until its bytes have left
// (and fails when they do not leave in time), the busy state, and a program that ends during a pause.
#include "demo_harness.h"
#include "link/port_error.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

// A recording port whose bytes never leave the computer.
class StuckPort : public FakeSerialPort
{
public:
    using FakeSerialPort::FakeSerialPort;
    qint64 bytesToWrite() override { return isOpen() ? 1 : 0; }
};

struct Worker
{
    WireLog log;
    FakeLine line;
    explicit Worker(Pacer& pacer, bool stuck = false)
        : worker(stuck ? std::unique_ptr<SerialLink>(std::make_unique<StuckPort>(line))
                       : std::make_unique<FakeSerialPort>(line),
                 pacer)
    {
        line.log = &log;
    }
    PortWorker worker;

    PortOutcome run(PortJob job)
    {
        std::optional<PortOutcome> ended;
        worker.post(std::move(job), [&ended](const PortOutcome& outcome) { ended = outcome; });
        if (!QTest::qWaitFor([&ended] { return ended.has_value(); }, 10000)) {
            PortOutcome lost;
            lost.stopped = true; // never told
            return lost;
        }
        return *ended;
    }
};

} // namespace

class TestPortWorker : public QObject
{
    Q_OBJECT
private slots:
    void runsJobsInOrderOffTheGuiThread();
    void busyUntilTheLastJobHasEnded();
    void writeWaitsUntilTheBytesHaveLeft_data();
    void writeWaitsUntilTheBytesHaveLeft();
    void firstFailureEndsTheJobWithThePortClosed();
    void endingTheProgramCutsThePauseShort();
};

void TestPortWorker::runsJobsInOrderOffTheGuiThread()
{
    VirtualPacer pacer;
    Worker w(pacer);
    QList<int> ended;
    w.worker.post(PortJob().open("COM3", "9600,n,8,1").write("A").pause(5000),
                  [&](const PortOutcome& outcome) {
                      QVERIFY(outcome.ok());
                      QCOMPARE(QThread::currentThread(), qApp->thread());
                      ended.append(1);
                  });
    w.worker.post(PortJob().write("B").close(), [&](const PortOutcome& outcome) {
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.portText, QStringLiteral("COM3"));
        ended.append(2);
    });
    QVERIFY(QTest::qWaitFor([&] { return ended.size() == 2; }, 10000));
    QCOMPARE(ended, (QList<int>{1, 2}));
    QCOMPARE(w.log, (QStringList{"open COM3 9600,n,8,1", "write 41", "write 42", "close"}));
    QCOMPARE(pacer.milliseconds(), 5000);
}

void TestPortWorker::busyUntilTheLastJobHasEnded()
{
    VirtualPacer pacer;
    Worker w(pacer);
    QSignalSpy busy(&w.worker, &PortWorker::busyChanged);
    bool busyInLastDone = true;
    w.worker.post(PortJob().open("COM1", "9600,n,8,1"), {});
    w.worker.post(PortJob().close(), [&](const PortOutcome&) { busyInLastDone = w.worker.busy(); });
    QVERIFY(w.worker.busy());
    QVERIFY(QTest::qWaitFor([&] { return !w.worker.busy(); }, 10000));
    // Idle once the last job's end is told, so that its follow-up may start the next job.
    QVERIFY(!busyInLastDone);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(busy[0][0].toBool(), true);
    QCOMPARE(busy[1][0].toBool(), false);
}

void TestPortWorker::writeWaitsUntilTheBytesHaveLeft_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("limitMs"); // one second and the line time: ten bits a character
    QTest::newRow("one byte at 9600") << "9600,n,8,1" << 1 << 1001;
    QTest::newRow("96 bytes at 9600") << "9600,n,8,1" << 96 << 1100;
    QTest::newRow("480 bytes at 4800") << "4800,n,8,1" << 480 << 2000;
}

void TestPortWorker::writeWaitsUntilTheBytesHaveLeft()
{
    QFETCH(QString, settings);
    QFETCH(int, bytes);
    QFETCH(int, limitMs);
    VirtualPacer pacer;
    Worker w(pacer, true);
    QVERIFY(w.run(PortJob().open("COM2", settings)).ok());
    const qint64 start = pacer.milliseconds();
    const PortOutcome stuck = w.run(PortJob().write(QByteArray(bytes, 'x')).write("never"));
    QCOMPARE(pacer.milliseconds() - start, limitMs);
    QCOMPARE(
        portErrorText(stuck),
        QStringLiteral("COM2 failed while writing (error 8030):\nThe line did not take the bytes in time."));
    QCOMPARE(w.log.last(), QStringLiteral("close"));
    QCOMPARE(w.line.openPorts, 0);
}

void TestPortWorker::firstFailureEndsTheJobWithThePortClosed()
{
    VirtualPacer pacer;
    Worker w(pacer);
    w.line.failWriteNumber = 2;
    const PortOutcome outcome =
        w.run(PortJob().open("COM2", "9600,n,8,1").write("A").write("B").pause(8000).write("C"));
    QCOMPARE(portErrorText(outcome),
             QStringLiteral("COM2 failed while writing (error 8030):\nInput/output error"));
    QCOMPARE(w.log, (QStringList{"open COM2 9600,n,8,1", "write 41", "failed write", "close"}));
    QCOMPARE(pacer.milliseconds(), 0);
}

void TestPortWorker::endingTheProgramCutsThePauseShort()
{
    RealPacer pacer;
    WireLog log;
    FakeLine line;
    line.log = &log;
    QElapsedTimer timer;
    {
        PortWorker worker(std::make_unique<FakeSerialPort>(line), pacer);
        worker.post(PortJob().open("COM4", "9600,n,8,1").write("A").pause(60000).write("B").close(), {});
        worker.post(PortJob().open("COM5", "9600,n,8,1"), {});
        QTest::qWait(200); // well inside the pause
        timer.start();
    }
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    // Nothing after the pause, nothing of the next job, and the port closed.
    QCOMPARE(log, (QStringList{"open COM4 9600,n,8,1", "write 41", "close"}));
    QCOMPARE(line.openPorts, 0);
}

QTEST_MAIN(TestPortWorker)
#include "tst_port_worker.moc"
