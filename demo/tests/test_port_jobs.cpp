// The steps of a port job as the device worker's thread does them, done here on the test's own: a write
// waits until its bytes have left (and fails when they do not leave in time), and the program's end cuts
// a pause short. The jobs of the windows are the transcripts'.
#include "demo_harness.h"
#include "link/port_job.h"
#include "link/port_job_runner.h"
#include "link/port_messages.h"

#include <QTest>

namespace {

// A recording port whose bytes never leave the computer.
class StuckPort : public FakeSerialPort
{
public:
    using FakeSerialPort::FakeSerialPort;
    qint64 bytesToWrite() override { return isOpen() ? 1 : 0; }
};

// Virtual time in which the program ends once `endMs` have passed.
class EndingPacer : public VirtualPacer
{
public:
    EndingPacer(std::atomic_bool& stop, qint64 endMs) : stop_(stop), endMs_(endMs) {}
    void sleep(int ms) override
    {
        VirtualPacer::sleep(ms);
        stop_ = stop_ || milliseconds() >= endMs_;
    }

private:
    std::atomic_bool& stop_;
    qint64 endMs_;
};

} // namespace

class TestPortJobs : public QObject
{
    Q_OBJECT
private slots:
    void writeWaitsUntilTheBytesHaveLeft_data();
    void writeWaitsUntilTheBytesHaveLeft();
    void endingTheProgramCutsThePauseShort();
};

void TestPortJobs::writeWaitsUntilTheBytesHaveLeft_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("limitMs"); // one second and the line time: ten bits a character
    QTest::newRow("one byte at 9600") << "9600,n,8,1" << 1 << 1001;
    QTest::newRow("480 bytes at 4800") << "4800,n,8,1" << 480 << 2000;
}

void TestPortJobs::writeWaitsUntilTheBytesHaveLeft()
{
    QFETCH(QString, settings);
    QFETCH(int, bytes);
    QFETCH(int, limitMs);
    FakeLine line;
    StuckPort link(line);
    VirtualPacer pacer;
    const std::atomic_bool stop = false;
    DevicePort port(link, pacer, stop);
    PortJob job;
    job.open("COM2", *LineSettings::parse(settings), DemoModel::KD317)
        .write(QByteArray(bytes, 'x'))
        .write("never");
    const JobResult stuck = PortJobRunner(port, nullptr, {}).run(job);
    QCOMPARE(pacer.milliseconds(), limitMs);
    QCOMPARE(
        portFailedMessage(stuck).text,
        QStringLiteral("COM2 failed while writing (error 8030):\nThe line did not take the bytes in time."));
}

// The pause looks every 50 ms whether the program is ending; then nothing more is written and the port
// is closed.
void TestPortJobs::endingTheProgramCutsThePauseShort()
{
    FakeLine line;
    FakeSerialPort link(line);
    std::atomic_bool stop = false;
    EndingPacer pacer(stop, 120);
    DevicePort port(link, pacer, stop);
    PortJob job;
    job.open("COM4", LineSettings(), DemoModel::KD317).write("A").pause(60000).write("B").close();
    QVERIFY(PortJobRunner(port, nullptr, {}).run(job).stopped);
    QCOMPARE(pacer.milliseconds(), 150);
    QCOMPARE(line.log, (QStringList{"open COM4 9600,n,8,1", "write 41", "close"}));
}

QTEST_GUILESS_MAIN(TestPortJobs)
#include "test_port_jobs.moc"
