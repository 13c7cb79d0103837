// Settings texts, port names, and text on the wire, as vfddemo gives them to the shared core.
#include "commands/kp685_sequence.h"
#include "commands/maker_lines.h"
#include "link/demo_port_state.h"

#include "core/line_settings.h"
#include "core/port_name.h"

#include <QStringEncoder>
#include <QTest>

class TestPortText : public QObject
{
    Q_OBJECT
private slots:
    void parsesSettings_data();
    void parsesSettings();
    void mapsPortNames_data();
    void mapsPortNames();
    void simulatedPortChoice();
    void kp685SequenceInOrder();
};

void TestPortText::parsesSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    using Parity = LineSettings::Parity;
    using Stop = LineSettings::StopBits;
    QTest::newRow("default") << "9600,n,8,1" << true << 9600 << int(Parity::None) << 8 << int(Stop::One);
    QTest::newRow("upper case parity")
        << "19200,N,8,1" << true << 19200 << int(Parity::None) << 8 << int(Stop::One);
    QTest::newRow("typed, not in the list")
        << "2400,e,7,2" << true << 2400 << int(Parity::Even) << 7 << int(Stop::Two);
    QTest::newRow("odd, 1.5 stop") << "1200,o,5,1.5" << true << 1200 << int(Parity::Odd) << 5
                                   << int(Stop::OneAndHalf);
    QTest::newRow("mark") << "4800, m ,8, 1" << true << 4800 << int(Parity::Mark) << 8 << int(Stop::One);
    QTest::newRow("space") << "4800,s,8,1" << true << 4800 << int(Parity::Space) << 8 << int(Stop::One);
    QTest::newRow("three fields") << "9600,n,8" << false << 0 << 0 << 0 << 0;
    QTest::newRow("bad parity") << "9600,x,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("nine data bits") << "9600,n,9,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("zero baud") << "0,n,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("three stop bits") << "9600,n,8,3" << false << 0 << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0 << 0;
}

void TestPortText::parsesSettings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<LineSettings> settings = LineSettings::parse(text);
    QCOMPARE(settings.has_value(), valid);
    if (valid) {
        QFETCH(int, baud);
        QFETCH(int, parity);
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QCOMPARE(settings->baud, baud);
        QCOMPARE(int(settings->parity), parity);
        QCOMPARE(int(settings->dataBits), dataBits);
        QCOMPARE(int(settings->stopBits), stopBits);
    }
}

// The port texts vfddemo makes: the COM options, the system's own names, and the simulated display.
void TestPortText::mapsPortNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");
#ifdef Q_OS_WIN
    QTest::newRow("COM1") << "COM1"
                          << "\\\\.\\COM1";
    QTest::newRow("COM10") << "COM10"
                           << "\\\\.\\COM10";
#else
    QTest::newRow("COM1") << "COM1"
                          << "/dev/ttyS0";
    QTest::newRow("COM10") << "COM10"
                           << "/dev/ttyS9";
#endif
    QTest::newRow("usb adapter kept") << "/dev/ttyUSB0"
                                      << "/dev/ttyUSB0";
    QTest::newRow("mac adapter kept") << "/dev/cu.usbserial-1420"
                                      << "/dev/cu.usbserial-1420";
}

void TestPortText::mapsPortNames()
{
    QFETCH(QString, text);
    QFETCH(QString, path);
    QCOMPARE(systemPortName(text).value_or(QString()), path);
    QVERIFY(!isSimulatedPort(text));
}

void TestPortText::simulatedPortChoice()
{
    DemoPortState state;
    QVERIFY(!state.portChosen());
    state.chooseComPort(3);
    QCOMPARE(state.portText(), QStringLiteral("COM3"));
    state.chooseSystemPort(kSimulatedPortName);
    QCOMPARE(state.portText(), QStringLiteral("sim"));
    QVERIFY(isSimulatedPort(state.portText()));
    QCOMPARE(state.DemoPortNumber, qint16(0));
}

void TestPortText::kp685SequenceInOrder()
{
    QVERIFY(QStringEncoder("Big5").isValid());
    const QList<QByteArray> writes = kp685Sequence();
    QCOMPARE(writes.size(), 9);
    QCOMPARE(writes[0], QByteArray("\x1B!\x11"));
    QCOMPARE(writes[1], QByteArray("\x1Bx2"));
    QVERIFY(writes[2].endsWith('\n'));
    QCOMPARE(writes[2].size(), 2 * makerChineseName().size() + 1); // two bytes a character, then LF
    QCOMPARE(writes[3], QByteArray("\x1Bx0"));
    QVERIFY(writes[4].endsWith('\n'));
    QCOMPARE(writes[4].size(), 2 * makerChineseAddress().size() + 1);
    QCOMPARE(writes[5], QByteArray("\x1B!!"));
    QCOMPARE(writes[6], makerTelephoneLine().toLatin1() + '\n');
    QCOMPARE(writes[7], makerFaxLine().toLatin1() + '\n');
    QCOMPARE(writes[8], QByteArray("\x1B!\x11"));
    QVERIFY(makerTelephoneLine().startsWith(QStringLiteral("   TEL")));
    QVERIFY(makerFaxLine().startsWith(QStringLiteral("   FAX")));
}

QTEST_APPLESS_MAIN(TestPortText)
#include "tst_port_text.moc"
