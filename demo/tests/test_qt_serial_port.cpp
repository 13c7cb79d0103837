// The real port over a pseudo-terminal pair: every window's bytes reach the other end through vfddemo's
// device worker and the shared QtSerialLink exactly as the recording port sees them. The link's own
// settings and failures are tested with vfdsetup (setup/tests/test_qt_serial_link.cpp).
#include "demo/tests/demo_harness.h"
#include "setup/tests/pty_pair.h"

#include "core/qt_serial_link.h"
#include "demo/model/byte_text.h"

#include <QRegularExpression>

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
    // Line feeds, carriage returns, XON (1B 21 11), every byte from 80 to FF, pauses, and the port
    // closed and opened again: what a line not set raw, or a close that drops bytes, would change.
    QTest::newRow("KD-317 and the code table window")
        << "Command6 system:1 Command1 Command4 Command6 Command11 Command16 Command14 Option3 Command1 "
           "Command2 Command30"
        << QStringList{"3", "AB"};
    QTest::newRow("KD-426") << "Command7 system:1 Command1 Command1 Command8 Command17" << QStringList{"L1"};
    QTest::newRow("KD-138") << "Command8 system:1 Command1 Command1 Command2" << QStringList{};
}

void TestQtSerialPort::windowsReachTheLine()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, replies);
    PtyPair pty;
    if (!pty.ok())
        QSKIP("no pseudo-terminals on this machine");
    const QList<SystemPortEntry> ports{{pty.path(), QStringLiteral("pseudo-terminal")}};
    DemoHarness recorded;
    DemoHarness real(nullptr, std::make_unique<QtSerialLink>(1000));
    QByteArray expected;
    for (DemoHarness* h : {&recorded, &real}) {
        h->context.systemPorts = [ports] { return ports; };
        h->answer(replies);
        h->perform(steps);
    }
    QCOMPARE(real.line.log.filter("box "), QStringList());
    for (const QString& write : recorded.line.log.filter(QRegularExpression("^write ")))
        expected += QByteArray::fromHex(write.mid(6).toLatin1());
    QVERIFY(expected.size() > 10);
    QCOMPARE(hexBytes(pty.read(expected.size())), hexBytes(expected));
}

QTEST_MAIN(TestQtSerialPort)
#include "test_qt_serial_port.moc"
