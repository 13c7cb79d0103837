// The device worker on its own: jobs in order on one thread with their results back on the caller's,
// the drain and close after a job and at the end, and which jobs a stop request reaches.
#include "core/device_worker.h"
#include "core/pacer.h"
#include "core/serial_link.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

// A port that records what is done to it; its written bytes leave one per pacer millisecond, or never.
class RecordingLink : public SerialLink
{
public:
    RecordingLink(QStringList& log, const VirtualPacer& pacer, bool stuck = false)
        : log_(log), pacer_(pacer), stuck_(stuck)
    {
    }
    void setPortName(const QString& name) override { name_ = name; }
    QString portName() const override { return name_; }
    LinkStatus setSettings(const LineSettings& settings) override
    {
        settings_ = settings;
        return LinkStatus::success();
    }
    LineSettings settings() const override { return settings_; }
    LinkStatus open() override
    {
        open_ = true;
        log_ << QStringLiteral("open %1").arg(name_);
        return LinkStatus::success();
    }
    void close() override
    {
        log_ << QStringLiteral("close at %1 ms, %2 queued").arg(pacer_.milliseconds()).arg(bytesToWrite());
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    LinkStatus write(const QByteArray& bytes) override
    {
        log_ << QStringLiteral("write %1").arg(QString::fromLatin1(bytes));
        sentBy_ = pacer_.milliseconds() + (stuck_ ? 1'000'000 : bytes.size());
        return LinkStatus::success();
    }
    DsrLevel dsr() override { return open_ ? DsrLevel::High : DsrLevel::Low; }
    qint64 bytesToWrite() override { return std::max<qint64>(0, sentBy_ - pacer_.milliseconds()); }

private:
    QStringList& log_;
    const VirtualPacer& pacer_;
    bool stuck_;
    QString name_;
    LineSettings settings_;
    bool open_ = false;
    qint64 sentBy_ = 0;
};

// Virtual time that calls `alarm` when a polling pass reaches 5 ms.
struct PacerWithAlarm : VirtualPacer
{
    void pump() override
    {
        VirtualPacer::pump();
        if (milliseconds() == 5)
            alarm();
    }
    std::function<void()> alarm;
};

// Opens the port and writes `bytes`; the job's thread and stop request go to the log.
DeviceWorker::Job openAndWrite(QStringList& log, const QString& port, const QByteArray& bytes)
{
    return [&log, port, bytes](DevicePort& device) {
        log << QStringLiteral("job %1%2")
                   .arg(port, device.stopRequested() ? QStringLiteral(" stopped") : QString());
        if (device.stopRequested())
            return;
        device.link().setPortName(port);
        device.link().open();
        device.link().write(bytes);
    };
}

} // namespace

class TestDeviceWorker : public QObject
{
    Q_OBJECT
private slots:
    void jobsRunInOrderAndEndWithThePortDrainedAndClosed_data();
    void jobsRunInOrderAndEndWithThePortDrainedAndClosed();
    void resultsComeBackOnTheCallersThreadInOrder();
    void aStopReachesTheJobsPostedBeforeIt();
    void aStopEndsAPolledDsrWaitAtItsNextPass_data();
    void aStopEndsAPolledDsrWaitAtItsNextPass();
    void endingTheWorkerDropsQueuedJobsAndClosesThePort();
};

void TestDeviceWorker::jobsRunInOrderAndEndWithThePortDrainedAndClosed_data()
{
    QTest::addColumn<bool>("stuck");
    QTest::addColumn<bool>("keepOpen");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("closed once the bytes have left")
        << false << false << QStringList{"job A", "open A", "write abc", "close at 3 ms, 0 queued",
                                         "job B", "open B", "write de",  "close at 5 ms, 0 queued"};
    // The drain gives up once more than two seconds have passed.
    QTest::newRow("a stuck line is closed after the drain limit")
        << true << false << QStringList{"job A", "open A", "write abc", "close at 2001 ms, 997999 queued",
                                        "job B", "open B", "write de",  "close at 4001 ms, 998000 queued"};
    QTest::newRow("kept open for the next job")
        << false << true
        << QStringList{"job A", "open A", "write abc", "job B", "write de", "close at 2 ms, 0 queued"};
}

void TestDeviceWorker::jobsRunInOrderAndEndWithThePortDrainedAndClosed()
{
    QFETCH(bool, stuck);
    QFETCH(bool, keepOpen);
    QFETCH(QStringList, log);
    QStringList seen;
    VirtualPacer pacer;
    {
        DeviceWorker worker(std::make_unique<RecordingLink>(seen, pacer, stuck), pacer);
        worker.post([&](DevicePort& device) {
            openAndWrite(seen, "A", "abc")(device);
            if (keepOpen)
                device.keepOpen();
        });
        worker.post(keepOpen ? DeviceWorker::Job([&](DevicePort& device) {
            seen << "job B";
            device.link().write("de");
        })
                             : openAndWrite(seen, "B", "de"));
        worker.waitForIdle();
    }
    QCOMPARE(seen, log);
}

void TestDeviceWorker::resultsComeBackOnTheCallersThreadInOrder()
{
    QStringList seen;
    VirtualPacer pacer;
    DeviceWorker worker(std::make_unique<RecordingLink>(seen, pacer), pacer);
    QSignalSpy busy(&worker, &DeviceWorker::busyChanged);
    QList<int> results;
    QThread* const caller = QThread::currentThread();
    for (int i = 1; i <= 3; ++i)
        worker.post<int>([caller, i](DevicePort&) { return QThread::currentThread() != caller ? i : -i; },
                         [&results, caller](const int& result) {
                             QCOMPARE(QThread::currentThread(), caller);
                             results << result;
                         });
    QVERIFY(worker.busy());
    QTRY_COMPARE(results, (QList<int>{1, 2, 3}));
    QVERIFY(!worker.busy());
    QCOMPARE(busy.size(), 2); // once busy while the three ran, once idle after the last
}

void TestDeviceWorker::aStopReachesTheJobsPostedBeforeIt()
{
    QStringList seen;
    VirtualPacer pacer;
    DeviceWorker worker(std::make_unique<RecordingLink>(seen, pacer), pacer);
    QMutex hold;
    hold.lock();
    worker.post([&](DevicePort& device) {
        QMutexLocker wait(&hold); // until the test has posted the rest and asked for the stop
        seen << QStringLiteral("first %1").arg(device.stopRequested() ? "stopped" : "running");
    });
    worker.post(openAndWrite(seen, "A", "a"));
    worker.requestStop();
    worker.post(openAndWrite(seen, "B", "b"));
    hold.unlock();
    worker.waitForIdle();
    QCOMPARE(seen, (QStringList{"first stopped", "job A stopped", "job B", "open B", "write b",
                                "close at 1 ms, 0 queued"}));
}

// A stop that comes at 5 ms, while a job sleeps in a polled DSR wait with ten seconds to go, ends the
// wait at that pass. A signal's flag is never lowered: the job after it starts stopped, where after a
// request it starts afresh.
void TestDeviceWorker::aStopEndsAPolledDsrWaitAtItsNextPass_data()
{
    QTest::addColumn<bool>("signal"); // else a requestStop() (Cancel, a closing window)
    QTest::newRow("a signal's flag") << true;
    QTest::newRow("a stop request") << false;
}

void TestDeviceWorker::aStopEndsAPolledDsrWaitAtItsNextPass()
{
    QFETCH(bool, signal);
    QStringList seen;
    PacerWithAlarm pacer;
    std::atomic_bool signalled = false;
    DeviceWorker worker(std::make_unique<RecordingLink>(seen, pacer), pacer, {.stopSignal = &signalled});
    pacer.alarm = [&] { signal ? signalled.store(true) : worker.requestStop(); };
    QList<qint64> waitEndedAt;
    worker.post([&](DevicePort& device) {
        device.link().waitForDsrChange(device.pacer(), 0, 10.0, device.stopToken());
        waitEndedAt << pacer.milliseconds();
    });
    worker.waitForIdle();
    bool nextStopped = false;
    worker.post([&](DevicePort& device) { nextStopped = device.stopRequested(); });
    worker.waitForIdle();
    QCOMPARE(waitEndedAt, QList<qint64>{5});
    QCOMPARE(nextStopped, signal);
}

void TestDeviceWorker::endingTheWorkerDropsQueuedJobsAndClosesThePort()
{
    QStringList seen;
    VirtualPacer pacer;
    {
        DeviceWorker worker(std::make_unique<RecordingLink>(seen, pacer), pacer);
        worker.post([&](DevicePort& device) {
            openAndWrite(seen, "A", "a")(device);
            device.keepOpen();
            while (!device.stopRequested())
                device.pacer().pump();
            seen << "stopped";
        });
        worker.post(openAndWrite(seen, "B", "b"));
        QTRY_COMPARE(seen.size(), 3);
    }
    QCOMPARE(seen.size(), 5);
    QCOMPARE(seen.first(4), (QStringList{"job A", "open A", "write a", "stopped"}));
    QVERIFY(seen.last().startsWith("close at"));
}

QTEST_MAIN(TestDeviceWorker)
#include "test_device_worker.moc"
