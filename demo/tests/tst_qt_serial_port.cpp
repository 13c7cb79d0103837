// The real port over a pseudo-terminal pair: vfddemo's port worker on the shared QtSerialLink. Settings,
// writes, failures and their messages, and every window's bytes reaching the other end exactly as the
// recording port sees them.
#include "demo_harness.h"
#include "link/port_error.h"
#include "pty_pair.h"

#include "core/qt_serial_link.h"

#include <QComboBox>
#include <QTest>

namespace {

const QString Cancel = QStringLiteral("<cancel>");

// A port worker on a real link and virtual pauses whose line polls take real time.
struct RealPort
{
    DemoHarness::HarnessPacer pacer{true};
    PortWorker worker{std::make_unique<QtSerialLink>(1000), pacer};

    // Runs the job and waits for its end.
    PortOutcome run(PortJob job)
    {
        std::optional<PortOutcome> ended;
        worker.post(std::move(job), [&ended](const PortOutcome& outcome) { ended = outcome; });
        if (!QTest::qWaitFor([&ended] { return ended.has_value(); }, 10000)) {
            PortOutcome lost;
            lost.failure = PortOutcome::Write;
            lost.reason = QStringLiteral("the job did not end");
            return lost;
        }
        return *ended;
    }
};

// Runs a scenario: clicks by name, "port" chooses the pseudo-terminal in the system port list.
void Run(DemoHarness& h, const QStringList& clicks, const QStringList& replies)
{
    for (const QString& reply : replies) {
        h.dialogs.replies.push_back(reply == Cancel ? std::nullopt : std::optional<QString>(reply));
    }
    for (const QString& name : clicks) {
        if (name == "port") {
            auto* ports = h.current()->findChild<QComboBox*>("SystemPorts");
            QVERIFY(ports && ports->count() == 2);
            ports->setCurrentIndex(1);
            emit ports->activated(1);
        } else {
            h.click(name);
        }
    }
}

QByteArray AllWrites(const DemoHarness& h)
{
    QByteArray bytes;
    for (const QString& hex : h.writes()) {
        bytes += QByteArray::fromHex(hex.toLatin1());
    }
    return bytes;
}

} // namespace

class TestQtSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void writesWithSettings_data();
    void writesWithSettings();
    void refusesToOpen_data();
    void refusesToOpen();
    void busyPortRefused();
    void lostFarSideFailsTheWrite();
    void windowsReachTheLine_data();
    void windowsReachTheLine();
};

void TestQtSerialPort::init()
{
    PtyPair probe;
    if (!probe.ok()) {
        QSKIP("no pseudo-terminals on this machine");
    }
}

void TestQtSerialPort::writesWithSettings_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("characterSize");
    QTest::addColumn<bool>("parity");
    QTest::addColumn<bool>("twoStop");
    QTest::newRow("9600,n,8,1") << "9600,n,8,1" << int(B9600) << int(CS8) << false << false;
    QTest::newRow("19200,n,8,2") << "19200,n,8,2" << int(B19200) << int(CS8) << false << true;
    QTest::newRow("4800,n,8,1") << "4800,n,8,1" << int(B4800) << int(CS8) << false << false;
}

void TestQtSerialPort::writesWithSettings()
{
    QFETCH(QString, settings);
    QFETCH(int, speed);
    QFETCH(int, characterSize);
    QFETCH(bool, parity);
    QFETCH(bool, twoStop);
    PtyPair pty;
    RealPort port;
    // Every byte value passes unchanged: no newline translation, no stripping of the eighth bit.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    const PortOutcome outcome =
        port.run(PortJob().open(pty.path(), settings).write(all).write("\x0C\x0D\x0A"));
    QVERIFY2(outcome.ok(), qPrintable(outcome.reason));
    const termios line = pty.lineSettings();
    QCOMPARE(int(cfgetospeed(&line)), speed);
    QCOMPARE(int(line.c_cflag & CSIZE), characterSize);
    QCOMPARE(bool(line.c_cflag & PARENB), parity);
    QCOMPARE(bool(line.c_cflag & CSTOPB), twoStop);
    QCOMPARE(Hex(pty.read(all.size() + 3)), Hex(all + "\x0C\x0D\x0A"));
    QVERIFY(port.run(PortJob().close()).ok());
}

void TestQtSerialPort::refusesToOpen_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reason"); // the start of the reason; empty: the system's words
    QTest::newRow("missing port") << "/dev/ttyDOESNOTEXIST7"
                                  << "9600,n,8,1" << int(PortErrorNumber::Missing) << QString();
    QTest::newRow("bad settings") << "pty"
                                  << "9600,x,8,1" << int(PortErrorNumber::BadSettings)
                                  << "The line settings \"9600,x,8,1\" are not valid.";
    QTest::newRow("not a number") << "pty"
                                  << "fast,n,8,1" << int(PortErrorNumber::BadSettings)
                                  << "The line settings \"fast,n,8,1\" are not valid.";
    // A pseudo-terminal keeps eight data bits only: a line that refuses the settings is not left open.
    QTest::newRow("settings the line refuses")
        << "pty"
        << "9600,n,7,1" << int(PortErrorNumber::BadSettings) << QString();
}

void TestQtSerialPort::refusesToOpen()
{
    QFETCH(QString, portText);
    QFETCH(QString, settings);
    QFETCH(int, number);
    QFETCH(QString, reason);
    PtyPair pty;
    RealPort port;
    const QString name = portText == "pty" ? pty.path() : portText;
    const PortOutcome outcome = port.run(PortJob().open(name, settings).write("x"));
    QVERIFY(!outcome.ok());
    QCOMPARE(portErrorNumberOf(outcome), number);
    QVERIFY(!outcome.reason.isEmpty());
    QVERIFY2(outcome.reason.startsWith(reason), qPrintable(outcome.reason));
    QVERIFY(portErrorText(outcome).startsWith(
        QStringLiteral("%1 cannot be opened (error %2):\n").arg(name).arg(number)));
    // Nothing was written, and the port was let go: it opens again.
    QVERIFY(pty.readAvailable(50).isEmpty());
    if (portText == "pty") {
        QVERIFY(port.run(PortJob().open(name, QStringLiteral("9600,n,8,1")).close()).ok());
    }
}

void TestQtSerialPort::busyPortRefused()
{
    PtyPair pty;
    QtSerialLink other;
    other.setPortName(pty.path());
    QVERIFY(other.open().ok());
    RealPort port;
    const PortOutcome refused = port.run(PortJob().open(pty.path(), QStringLiteral("9600,n,8,1")));
    QCOMPARE(portErrorNumberOf(refused), int(PortErrorNumber::InUse));
    other.close();
    const PortOutcome opened = port.run(PortJob().open(pty.path(), QStringLiteral("9600,n,8,1")).close());
    QVERIFY2(opened.ok(), qPrintable(opened.reason));
}

void TestQtSerialPort::lostFarSideFailsTheWrite()
{
    PtyPair pty;
    RealPort port;
    QVERIFY(port.run(PortJob().open(pty.path(), QStringLiteral("9600,n,8,1")).write("A")).ok());
    QCOMPARE(pty.read(1), QByteArray("A"));
    pty.closeMaster();
    const PortOutcome lost = port.run(PortJob().write("B"));
    QVERIFY(!lost.ok());
    QCOMPARE(portErrorNumberOf(lost), int(PortErrorNumber::WriteFailed));
    QVERIFY(portErrorText(lost).startsWith(
        QStringLiteral("%1 failed while writing (error 8030):\n").arg(pty.path())));
}

void TestQtSerialPort::windowsReachTheLine_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("replies");
    QTest::newRow("KD-317 and both selection windows")
        << QStringList{"Command6",  "port",      "Command1",  "Command1",  "Command2",  "Command3",
                       "Command4",  "Command5",  "Command6",  "Command7",  "Command8",  "Command9",
                       "Command10", "Command11", "Command12", "Command13", "Command16", "Command17",
                       "Command18", "Command19", "Command27", "Command28", "Command14", "Option3",
                       "Command1",  "Command2",  "Command15", "Option11",  "Command1",  "Command2",
                       "Command30"}
        << QStringList{"2", "5", "3", "1", "AB", "12", "30"};
    QTest::newRow("KD-426") << QStringList{"Command7",  "port",      "Command1",  "Command1",  "Command2",
                                           "Command3",  "Command4",  "Command5",  "Command6",  "Command7",
                                           "Command8",  "Command9",  "Command10", "Command11", "Command12",
                                           "Command13", "Command14", "Command15", "Command16", "Command17"}
                            << QStringList{"L1", Cancel, "L3", "L4", "D1", "D2",   "H1",
                                           "H2", "H3",   "H4", "K",  "L",  Cancel, "M2"};
    QTest::newRow("KD-138") << QStringList{"Command8", "port", "Command1", "Command1", "Command2"}
                            << QStringList{};
}

void TestQtSerialPort::windowsReachTheLine()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, replies);
    PtyPair pty;
    const QList<SystemPortEntry> ports{{pty.path(), QStringLiteral("pseudo-terminal")}};

    DemoHarness recorded;
    recorded.context.systemPorts = [ports] { return ports; };
    Run(recorded, clicks, replies);

    DemoHarness real([](DemoHarness&) { return std::make_unique<QtSerialLink>(1000); }, true);
    real.context.systemPorts = [ports] { return ports; };
    Run(real, clicks, replies);
    QVERIFY2(real.dialogs.messages.isEmpty(), qPrintable(real.dialogs.messages.value(0).text));

    const QByteArray expected = AllWrites(recorded);
    QVERIFY(expected.size() > 10);
    QCOMPARE(Hex(pty.read(expected.size())), Hex(expected));
}

QTEST_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
