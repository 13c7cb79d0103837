// The presence and acknowledgement waits against the simulated display, in virtual time: limits to
// the millisecond, the messages shown (the outcome's box shown as the window shows it), the bytes
// written on failure, and the port left as promised.
#include "content_bench.h"
#include "presented.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/display_session.h"
#include "protocol/setup_request.h"

#include <QTest>

using namespace content_test;

class DisplayWaitsTest : public QObject
{
    Q_OBJECT

private slots:
    // DSR up to the limit is waited for; past it, or never, is a fault matrix case.
    void openWaitsForDsr_data()
    {
        QTest::addColumn<double>("dsrDelay");
        QTest::newRow("at once") << 0.0;
        QTest::newRow("0.9 s late") << 0.9;
        QTest::newRow("1.0 s late, the limit itself") << 1.0;
    }
    void openWaitsForDsr()
    {
        QFETCH(double, dsrDelay);
        Bench bench;
        bench.faults([&](auto& f) { f.dsrDelay = dsrDelay; });
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(bench.display.isOpen());
        QVERIFY(bench.dialogs.messages().isEmpty());
        QVERIFY(bench.pacer.now() <= dsrDelay + 0.002);
        QVERIFY(bench.display.wire().isEmpty());
    }

    void openAppliesTheSelection_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("settings");
        QTest::newRow("defaults") << "9600"
                                  << "N,8,1"
                                  << "9600,N,8,1";
        QTest::newRow("115200 even 7") << "115200"
                                       << "E,7,1"
                                       << "115200,E,7,1";
    }
    void openAppliesTheSelection()
    {
        QFETCH(QString, baud);
        QFETCH(QString, format);
        QFETCH(QString, settings);
        Bench bench;
        bench.device.selection.port = "COM3";
        bench.device.selection.setLine(baud, format);
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QCOMPARE(bench.display.settings().toText(), settings);
        QCOMPARE(bench.display.portName(), QString("COM3"));
    }

    void openFailuresAreReportedAndLeaveThePortClosed_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << true << "Port Error: COM Port not Exist( 8002) !!";
        QTest::newRow("busy") << false << "Port Error: COM Port Already Open( 8005) !!";
    }
    void openFailuresAreReportedAndLeaveThePortClosed()
    {
        QFETCH(bool, missing);
        QFETCH(QString, message);
        Bench bench;
        bench.faults([&](auto& f) {
            f.portMissing = missing;
            f.portBusy = !missing;
        });
        DisplaySession session(bench.device);
        QVERIFY(!session.isOpen());
        const Outcome opened = Presented(bench.dialogs, session.outcome());
        QCOMPARE(opened.kind(), Outcome::PortFailed);
        QCOMPARE(bench.dialogs.messages(), QStringList{message});
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
        QVERIFY(!bench.dialogs.shown().first().detail.isEmpty());
        QVERIFY(!bench.display.isOpen());
        QVERIFY(session.close());
    }

    void acknowledgement_data()
    {
        QTest::addColumn<double>("pulseWidth");
        QTest::addColumn<int>("acknowledgeFirst");
        QTest::addColumn<bool>("neverDrains");
        QTest::addColumn<int>("failedStep");
        QTest::addColumn<double>("endsAfter");
        // The pulse starts 20 ms after the last byte; 20 bytes at 9600 baud take about 21 ms.
        QTest::newRow("200 ms pulse acknowledged") << 0.2 << -1 << false << 0 << 0.241;
        QTest::newRow("60 ms pulse acknowledged") << 0.06 << -1 << false << 0 << 0.101;
        QTest::newRow("30 ms pulse: step 4 at once") << 0.03 << -1 << false << 4 << 0.071;
        QTest::newRow("never drops DSR: step 3") << 0.2 << 0 << false << 3 << 3.022;
        QTest::newRow("output never drains: step 1") << 0.2 << -1 << true << 1 << 6.001;
    }
    void acknowledgement()
    {
        QFETCH(double, pulseWidth);
        QFETCH(int, acknowledgeFirst);
        QFETCH(bool, neverDrains);
        QFETCH(int, failedStep);
        QFETCH(double, endsAfter);
        Bench bench;
        bench.faults([&](auto& f) {
            f.pulseWidth = pulseWidth;
            f.acknowledgeFirst = acknowledgeFirst;
            f.outputNeverDrains = neverDrains;
        });
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(session.write(kSetupRequest));
        const double start = bench.pacer.now();
        const bool acknowledged = static_cast<bool>(Presented(bench.dialogs, session.awaitAck(0)));
        const double took = bench.pacer.now() - start;
        QCOMPARE(acknowledged, failedStep == 0);
        QVERIFY2(qAbs(took - endsAfter) <= 0.003, qPrintable(QString::number(took)));
        if (failedStep == 0) {
            QVERIFY(bench.dialogs.messages().isEmpty());
            QCOMPARE(bench.display.wire(), kSetupRequest);
        } else {
            QCOMPARE(bench.dialogs.shown().size(), 1);
            QCOMPARE(bench.dialogs.shown().first().title, QString("Display ack. failed"));
            QVERIFY(bench.dialogs.shown().first().text.startsWith(QString("Process.%1( ").arg(failedStep)));
            QCOMPARE(bench.display.wire(), kSetupRequest + kNakLines);
        }
    }

    void failureTextCarriesStepTimesAndDsr()
    {
        QCOMPARE(ackFailureText(3, 100.5, 106.5, true), QString("Process.3( 100.5/106.5/True)"));
        QCOMPARE(ackFailureText(1, 36000, 36006, false), QString("Process.1( 36000/36006/False)"));
        // In a real wait: nothing to drain, DSR high at once, then no drop for 3 s.
        Bench bench(100.5);
        bench.faults([](auto& f) { f.acknowledgeFirst = 0; });
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(!Presented(bench.dialogs, session.awaitAck(0)));
        QCOMPARE(bench.dialogs.messages(), QStringList{"Display ack. failed: Process.3( 100.5/103.5/True)"});
    }

    void graceTime_data()
    {
        QTest::addColumn<double>("pulseWidth");
        QTest::addColumn<int>("acknowledgeFirst");
        QTest::addColumn<double>("endsAt");
        QTest::newRow("step 4 fails early: true at the grace time") << 0.03 << -1 << 1.001;
        QTest::newRow("step 3 fails after the grace time: true at once") << 0.2 << 0 << 3.022;
        QTest::newRow("acknowledged: true at the pulse's end") << 0.2 << -1 << 0.241;
    }
    void graceTime()
    {
        QFETCH(double, pulseWidth);
        QFETCH(int, acknowledgeFirst);
        QFETCH(double, endsAt);
        Bench bench;
        bench.faults([&](auto& f) {
            f.pulseWidth = pulseWidth;
            f.acknowledgeFirst = acknowledgeFirst;
        });
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(session.write(kSetupRequest));
        const double start = bench.pacer.now();
        QVERIFY(Presented(bench.dialogs, session.awaitAck(1.0)));
        QVERIFY2(qAbs(bench.pacer.now() - start - endsAt) <= 0.003,
                 qPrintable(QString::number(bench.pacer.now() - start)));
        QVERIFY(bench.dialogs.messages().isEmpty());
        QCOMPARE(bench.display.wire(), kSetupRequest);
    }

    void setupRequest_data()
    {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("acknowledges");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList notReady{"Port Status: Display DSR not ready yet !!"};
        QTest::newRow("request acknowledged")
            << true << true << true << true << kSetupRequest << "115200,N,8,1" << none;
        QTest::newRow("request not acknowledged")
            << true << true << false << false << kSetupRequest + kNakLines << "9600,N,8,1"
            << QStringList{"Display ack. failed: Process.3( 36000/36003.02/True)"};
        QTest::newRow("forced mode, ready: nothing written")
            << false << true << true << true << QByteArray() << "115200,N,8,1" << none;
        // Going on at the old speed after telling the person the display is not ready would be wrong.
        QTest::newRow("forced mode, not ready: false")
            << false << false << true << false << QByteArray() << "9600,N,8,1" << notReady;
        QTest::newRow("not ready") << true << false << true << false << QByteArray() << "9600,N,8,1"
                                   << notReady;
    }
    void setupRequest()
    {
        QFETCH(bool, flag);
        QFETCH(bool, ready);
        QFETCH(bool, acknowledges);
        QFETCH(bool, result);
        QFETCH(QByteArray, wire);
        QFETCH(QString, settings);
        QFETCH(QStringList, messages);
        Bench bench;
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        bench.faults([&](auto& f) {
            f.acknowledgeFirst = acknowledges ? -1 : 0;
            f.absent = !ready;
        });
        QCOMPARE(static_cast<bool>(Presented(bench.dialogs, session.sendSetupRequest(flag))), result);
        QCOMPARE(bench.display.wire(), wire);
        QCOMPARE(bench.display.settings().toText(), settings);
        QCOMPARE(bench.dialogs.messages(), messages);
        QVERIFY(bench.display.isOpen()); // the session closes it when it goes
        if (result && flag)
            QVERIFY(bench.display.inSetupState());
    }

    void stopRequestEndsEveryWaitAndSendsNothing()
    {
        Bench bench;
        std::atomic_bool stop = false;
        DisplayAccess device(bench.display, bench.pacer, bench.dialogs, {}, &stop);
        bench.faults([](auto& f) { f.acknowledgeFirst = 0; });
        DisplaySession session(device);
        QVERIFY(session.isOpen());
        QVERIFY(session.write(kSetupRequest));
        stop = true;
        const double before = bench.pacer.now();
        QCOMPARE(Presented(bench.dialogs, session.awaitAck(1.0)).kind(), Outcome::Stopped);
        QCOMPARE(Presented(bench.dialogs, session.awaitAck(0)).kind(), Outcome::Stopped);
        QVERIFY(!session.write("more"));
        QCOMPARE(bench.pacer.now(), before);
        QVERIFY(bench.dialogs.messages().isEmpty());
        QCOMPARE(bench.display.wire(), kSetupRequest);
    }

    void writeFailureIsReportedOnceAndStopsTheOperation()
    {
        Bench bench;
        bench.faults([](auto& f) { f.vanishAfterWrites = 1; });
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(session.write(kSetupRequest));
        QVERIFY(!session.write("FR"));
        QVERIFY(!session.write("FM"));
        QCOMPARE(bench.dialogs.messages(), QStringList{}); // told once, when the operation ends
        QCOMPARE(Presented(bench.dialogs, session.awaitAck(1.0)).kind(), Outcome::WriteFailed);
        QCOMPARE(bench.dialogs.messages(), QStringList{"Port Error: COM Port Write Error( 8020) !!"});
        QVERIFY(!bench.dialogs.shown().first().detail.isEmpty());
        QVERIFY(session.close());
    }

    void nullFrameIsNeverWritten()
    {
        Bench bench;
        DisplaySession session(bench.device);
        QVERIFY(session.isOpen());
        QVERIFY(!session.write(QByteArray()));
        QVERIFY(bench.display.wire().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DisplayWaitsTest)
#include "test_display_waits.moc"
