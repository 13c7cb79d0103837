// The factory balance against the simulated display in virtual time: the live balance cycle and
// its bytes, the store and what it sends before waiting, and a display that does not answer.
#include "content_bench.h"
#include "operations/factory_adjustment.h"
#include "presented.h"

#include <QTest>

using namespace content_test;

namespace {
const QByteArray kPattern(40, '0');
}

class FactoryAdjustmentTest : public QObject
{
    Q_OBJECT

private slots:
    void balanceCycle_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("6") << 6 << QByteArray::fromHex("1F46620D06");
        QTest::newRow("lowest") << 0 << QByteArray::fromHex("1F46620D00");
        QTest::newRow("13 is the byte 0D") << 13 << QByteArray::fromHex("1F46620D0D");
        QTest::newRow("highest") << 255 << QByteArray::fromHex("1F46620DFF");
    }
    void balanceCycle()
    {
        QFETCH(int, position);
        QFETCH(QByteArray, record);
        Bench bench;
        QCOMPARE(balanceRecord(position), record);

        QVERIFY(Presented(bench.dialogs, sendBalance(bench.device, position)));

        const auto writes = bench.display.writes();
        QCOMPARE(writes.size(), 2);
        QCOMPARE(writes.at(0).bytes, kPattern);
        QCOMPARE(writes.at(1).bytes.toHex(' '), record.toHex(' '));
        QCOMPARE(writes.at(1).settings, QString("9600,N,8,1")); // no setup request, no rate switch
        QCOMPARE(bench.display.liveBalance(), position);
        QCOMPARE(bench.display.screen(), (QStringList{QString(20, '0'), QString(20, '0')}));
        QVERIFY(bench.dialogs.messages().isEmpty());
        QVERIFY(!bench.display.isOpen());
        // The cycle ends with the pulse: about 40 + 5 characters at 9600 baud, latency, 0.2 s pulse.
        QVERIFY(bench.pacer.now() > 0.25 && bench.pacer.now() < 0.35);
    }

    void balanceOutsideOneByteSendsNothing_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("-1") << -1;
        QTest::newRow("256") << 256;
    }
    void balanceOutsideOneByteSendsNothing()
    {
        QFETCH(int, position);
        Bench bench;
        QVERIFY(balanceRecord(position).isNull());
        QVERIFY(!Presented(bench.dialogs, sendBalance(bench.device, position)));
        QVERIFY(bench.display.writes().isEmpty());
    }

    void everyUnansweredCycleIsReportedOnce()
    {
        Bench bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 0; });
        for (int position : {10, 20, 30}) {
            QVERIFY(!Presented(bench.dialogs, sendBalance(bench.device, position)));
            QVERIFY(!bench.display.isOpen());
        }
        const QStringList shown = bench.dialogs.messages();
        QCOMPARE(shown.size(), 3);
        for (const QString& message : shown)
            QVERIFY(message.startsWith("Display ack. failed: Process.3( "));
        QCOMPARE(bench.display.wire(),
                 (kPattern + balanceRecord(10) + kNakLines + kPattern + balanceRecord(20) + kNakLines +
                  kPattern + balanceRecord(30) + kNakLines));
    }

    void storeSendsFrAndFwBeforeWaiting()
    {
        Bench bench;
        QVERIFY(Presented(bench.dialogs, sendBalance(bench.device, 77)));
        const qsizetype before = bench.display.writes().size();

        QVERIFY(Presented(bench.dialogs, storeBalance(bench.device)));

        const auto writes = bench.display.writes().mid(before);
        QCOMPARE(writes.at(0).bytes.toHex(' '), QByteArray("1f 46 52"));
        QCOMPARE(writes.at(1).bytes.toHex(' '), QByteArray("1f 46 57"));
        // Nothing more until the display has acknowledged with its pulse.
        QVERIFY(writes.at(2).time - writes.at(1).time > 0.2);
        QCOMPARE(writes.at(2).bytes, kWriteOkLines);
        QCOMPARE(writes.size(), 5);
        QCOMPARE(writes.at(3).bytes + writes.at(4).bytes, kRestart);
        QCOMPARE(bench.display.flash().balance, 77);
        QCOMPARE(bench.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(!bench.display.isOpen());
    }

    void storeWithoutAcknowledgement()
    {
        Bench bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 0; });
        QVERIFY(!Presented(bench.dialogs, storeBalance(bench.device)));
        QCOMPARE(bench.display.wire(), QByteArray::fromHex("1F46521F4657") + kNakLines);
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QCOMPARE(bench.display.flash().balance, 128);
        QVERIFY(!bench.display.isOpen());
    }
};

QTEST_GUILESS_MAIN(FactoryAdjustmentTest)
#include "test_factory_adjustment.moc"
