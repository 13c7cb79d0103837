// The real port over a pseudo-terminal pair: every window's bytes reach the other end through vfddemo's
// port worker and the shared QtSerialLink exactly as the recording port sees them. The link's own
// settings and failures are tested with vfdsetup (setup/tests/test_qt_serial_link.cpp).
#include "demo_harness.h"
#include "pty_pair.h"

#include "core/qt_serial_link.h"

#include <QTest>

class TestQtSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void windowsReachTheLine_data();
    void windowsReachTheLine();
};

void TestQtSerialPort::windowsReachTheLine_data()
{
    QTest::addColumn<QString>("steps"); // "system:1" chooses the pseudo-terminal
    QTest::addColumn<QStringList>("replies");
    QTest::newRow("KD-317 and both selection windows")
        << "Command6 system:1 Command1 Command1 Command2 Command3 Command4 Command5 Command6 Command7 "
           "Command8 "
           "Command9 Command10 Command11 Command12 Command13 Command16 Command17 Command18 Command19 "
           "Command27 "
           "Command28 Command14 Option3 Command1 Command2 Command15 Option11 Command1 Command2 Command30"
        << QStringList{"2", "5", "3", "1", "AB", "12", "30"};
    QTest::newRow("KD-426")
        << "Command7 system:1 Command1 Command1 Command2 Command3 Command4 Command5 Command6 "
           "Command7 Command8 Command9 Command10 Command11 Command12 Command13 Command14 "
           "Command15 Command16 Command17"
        << QStringList{"L1", "<cancel>", "L3", "L4", "D1", "D2",       "H1",
                       "H2", "H3",       "H4", "K",  "L",  "<cancel>", "M2"};
    QTest::newRow("KD-138") << "Command8 system:1 Command1 Command1 Command2" << QStringList{};
}

void TestQtSerialPort::windowsReachTheLine()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, replies);
    PtyPair pty;
    if (!pty.ok()) {
        QSKIP("no pseudo-terminals on this machine");
    }
    const QList<SystemPortEntry> ports{{pty.path(), QStringLiteral("pseudo-terminal")}};
    DemoHarness recorded;
    DemoHarness real([](DemoHarness&) { return std::make_unique<QtSerialLink>(1000); }, true);
    QByteArray expected;
    for (DemoHarness* h : {&recorded, &real}) {
        h->context.systemPorts = [ports] { return ports; };
        h->answer(replies);
        h->perform(steps);
    }
    QCOMPARE(real.line.log.filter("box "), QStringList());
    for (const QString& hex : recorded.writes()) {
        expected += QByteArray::fromHex(hex.toLatin1());
    }
    QVERIFY(expected.size() > 10);
    QCOMPARE(Hex(pty.read(expected.size())), Hex(expected));
}

QTEST_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
