// The pieces every program's port goes through, in virtual time: the switch between the simulated
// display and the real port, the polled DSR count and wait of a link whose driver counts nothing, and
// the wait for written bytes to leave. (The driver's own count and wait: test_dsr_events of vfdsetup.)
#include "core/output_drain.h"
#include "core/pacer.h"
#include "core/stop_token.h"
#include "core/switching_link.h"

#include <QTest>
#include <algorithm>

namespace {

// Virtual time whose stop is requested once the clock reaches `stopAt`, as a person's Cancel would be
// between two looks.
class StoppingPacer : public VirtualPacer
{
public:
    explicit StoppingPacer(int stopAt) : stopAt_(stopAt) { raiseWhenDue(); }
    StopToken token() const { return stop_.token(); }
    void pump() override
    {
        VirtualPacer::pump();
        raiseWhenDue();
    }
    void sleep(int milliseconds) override
    {
        VirtualPacer::sleep(milliseconds);
        raiseWhenDue();
    }

private:
    void raiseWhenDue()
    {
        if (milliseconds() >= stopAt_)
            stop_.requestStop();
    }
    int stopAt_;
    StopSource stop_;
};

// A link whose DSR and output queue follow a schedule in the pacer's milliseconds.
class ScheduledLink : public SerialLink
{
public:
    explicit ScheduledLink(const VirtualPacer& pacer) : pacer_(pacer) {}

    QList<int> dsrFlips;  // DSR is low at first and flips at each of these
    int queueEmptyAt = 0; // bytes wait to be sent until then
    int namings = 0;

    void setPortName(const QString& name) override
    {
        ++namings;
        name_ = name;
    }
    QString portName() const override { return name_; }
    LinkStatus setSettings(const LineSettings& settings) override
    {
        settings_ = settings;
        return {};
    }
    LineSettings settings() const override { return settings_; }
    LinkStatus open() override
    {
        open_ = true;
        return {};
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    LinkStatus write(const QByteArray&) override { return {}; }
    DsrLevel dsr() override
    {
        return std::count_if(dsrFlips.begin(), dsrFlips.end(), [&](int at) { return at <= now(); }) % 2
                   ? DsrLevel::High
                   : DsrLevel::Low;
    }
    qint64 bytesToWrite() override { return now() < queueEmptyAt ? 10 : 0; }

private:
    qint64 now() const { return pacer_.milliseconds(); }
    const VirtualPacer& pacer_;
    QString name_;
    LineSettings settings_;
    bool open_ = false;
};

} // namespace

class SerialLinksTest : public QObject
{
    Q_OBJECT

private slots:
    // Each step names the port (and with " open" opens it) or closes it; `lines` is the link each name
    // went to: S the simulated display, R the real port.
    void switching_data()
    {
        QTest::addColumn<bool>("withSimulated");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("lines");
        QTest::newRow("by name") << true << QStringList{"sim", "COM1", "sim:a", "/dev/ttyUSB0"} << "SRSR";
        QTest::newRow("an open port keeps its line")
            << true << QStringList{"COM1 open", "sim", "close", "sim open", "COM2", "close", "COM2"}
            << "RRSSR";
        QTest::newRow("no simulated display") << false << QStringList{"sim", "sim:a"} << "RR";
    }
    void switching()
    {
        QFETCH(bool, withSimulated);
        QFETCH(QStringList, steps);
        QFETCH(QString, lines);
        VirtualPacer pacer;
        ScheduledLink simulated(pacer);
        auto owned = std::make_unique<ScheduledLink>(pacer);
        ScheduledLink& real = *owned;
        SwitchingLink link(withSimulated ? &simulated : nullptr, std::move(owned));
        QString went;
        for (const QString& step : steps) {
            if (step == "close") {
                link.close();
                continue;
            }
            const int before = simulated.namings;
            link.setPortName(step.section(' ', 0, 0));
            went += simulated.namings > before ? 'S' : 'R';
            if (step.endsWith(" open"))
                QVERIFY(link.open().ok());
            QCOMPARE(link.isOpen(), (simulated.namings > before ? simulated : real).isOpen());
        }
        QCOMPARE(went, lines);
    }

    // A polled link counts the changes its looks see, and only those.
    void polledDsrCount_data()
    {
        QTest::addColumn<QList<int>>("flips");
        QTest::addColumn<QList<int>>("looks");
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("a pulse seen") << QList<int>{2, 4} << QList<int>{0, 3, 5} << QList<int>{0, 1, 2};
        QTest::newRow("a pulse between two looks")
            << QList<int>{2, 3} << QList<int>{1, 4, 5} << QList<int>{0, 0, 0};
        QTest::newRow("high at the first look") << QList<int>{0} << QList<int>{0, 1} << QList<int>{1, 1};
    }
    void polledDsrCount()
    {
        QFETCH(QList<int>, flips);
        QFETCH(QList<int>, looks);
        QFETCH(QList<int>, counts);
        VirtualPacer pacer;
        ScheduledLink link(pacer);
        link.dsrFlips = flips;
        QList<int> seen;
        for (int at : looks) {
            pacer.advance(int(at - pacer.milliseconds()));
            seen << int(link.dsrEvents().changes);
        }
        QCOMPARE(seen, counts);
    }

    // The polled wait for a DSR change with a deadline of 100 ms: the millisecond it returns at.
    void polledDsrWait_data()
    {
        QTest::addColumn<QList<int>>("flips");
        QTest::addColumn<int>("stopAt"); // the stop request
        QTest::addColumn<int>("returnsAt");
        QTest::newRow("a change") << QList<int>{30} << 1000 << 30;
        QTest::newRow("no change") << QList<int>{} << 1000 << 100;
        QTest::newRow("a stop request") << QList<int>{} << 40 << 40;
    }
    void polledDsrWait()
    {
        QFETCH(QList<int>, flips);
        QFETCH(int, stopAt);
        QFETCH(int, returnsAt);
        StoppingPacer pacer(stopAt);
        ScheduledLink link(pacer);
        link.dsrFlips = flips;
        link.waitForDsrChange(pacer, link.dsrEvents().changes, 0.1, pacer.token());
        QCOMPARE(pacer.milliseconds(), returnsAt);
    }

    // The wait for written bytes to leave, with a limit of 100 ms.
    void outputDrain_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("queueEmptyAt");
        QTest::addColumn<int>("haltAt");
        QTest::addColumn<DrainResult>("result");
        QTest::addColumn<int>("endsAt");
        QTest::newRow("sent") << true << 40 << 1000 << DrainResult::Sent << 40;
        QTest::newRow("still queued at the limit") << true << 500 << 1000 << DrainResult::TimedOut << 101;
        QTest::newRow("halted") << true << 500 << 30 << DrainResult::Halted << 30;
        QTest::newRow("halted before a look") << true << 0 << 0 << DrainResult::Halted << 0;
        QTest::newRow("a closed port has nothing to send") << false << 500 << 1000 << DrainResult::Sent << 0;
    }
    void outputDrain()
    {
        QFETCH(bool, open);
        QFETCH(int, queueEmptyAt);
        QFETCH(int, haltAt);
        QFETCH(DrainResult, result);
        QFETCH(int, endsAt);
        StoppingPacer pacer(haltAt);
        ScheduledLink link(pacer);
        if (open)
            link.open();
        link.queueEmptyAt = queueEmptyAt;
        QCOMPARE(waitForOutputToLeave(link, pacer, 0.1, pacer.token()), result);
        QCOMPARE(pacer.milliseconds(), endsAt);
    }
};

QTEST_GUILESS_MAIN(SerialLinksTest)
#include "test_serial_links.moc"
