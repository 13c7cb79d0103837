// The port worker on its own: a write waits until its bytes have left (and fails when they do not leave
// in time), and a program that ends during a pause. The jobs of the windows are the transcripts'.
#include "demo_harness.h"
#include "link/port_error.h"

#include <QElapsedTimer>
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

} // namespace

class TestPortWorker : public QObject
{
    Q_OBJECT
private slots:
    void writeWaitsUntilTheBytesHaveLeft_data();
    void writeWaitsUntilTheBytesHaveLeft();
    void endingTheProgramCutsThePauseShort();
};

void TestPortWorker::writeWaitsUntilTheBytesHaveLeft_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("limitMs"); // one second and the line time: ten bits a character
    QTest::newRow("one byte at 9600") << "9600,n,8,1" << 1 << 1001;
    QTest::newRow("480 bytes at 4800") << "4800,n,8,1" << 480 << 2000;
}

void TestPortWorker::writeWaitsUntilTheBytesHaveLeft()
{
    QFETCH(QString, settings);
    QFETCH(int, bytes);
    QFETCH(int, limitMs);
    DemoHarness h([](DemoHarness& run) { return std::make_unique<StuckPort>(run.line); });
    PortOutcome stuck;
    h.worker.post(PortJob().open("COM2", settings, DemoModel::KD317), {});
    h.settle();
    const qint64 start = h.ms();
    h.worker.post(PortJob().write(QByteArray(bytes, 'x')).write("never"),
                  [&](const PortOutcome& o) { stuck = o; });
    h.settle();
    QCOMPARE(h.ms() - start, limitMs);
    QCOMPARE(
        portErrorText(stuck),
        QStringLiteral("COM2 failed while writing (error 8030):\nThe line did not take the bytes in time."));
}

void TestPortWorker::endingTheProgramCutsThePauseShort()
{
    RealPacer pacer;
    FakeLine line;
    QElapsedTimer timer;
    {
        PortWorker worker(std::make_unique<FakeSerialPort>(line), pacer);
        worker.post(
            PortJob().open("COM4", "9600,n,8,1", DemoModel::KD317).write("A").pause(60000).write("B").close(),
            {});
        worker.post(PortJob().open("COM5", "9600,n,8,1", DemoModel::KD317), {});
        QTest::qWait(200); // well inside the pause
        timer.start();
    }
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    // Nothing after the pause, nothing of the next job, and the port closed.
    QCOMPARE(line.log, (QStringList{"open COM4 9600,n,8,1", "write 41", "close"}));
    QCOMPARE(line.openPorts, 0);
}

QTEST_MAIN(TestPortWorker)
#include "tst_port_worker.moc"
