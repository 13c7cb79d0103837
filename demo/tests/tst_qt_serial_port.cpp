// The real port over a pseudo-terminal pair: settings, writes, failures, and every window's bytes
// reaching the other end exactly as the recording port sees them.
#include "demo_harness.h"
#include "qt_serial_port.h"

#include <QComboBox>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal: the program opens the slave by its path, the test reads the master.
class Pty
{
public:
    Pty()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = QString::fromLocal8Bit(name);
            fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty()
    {
        if (master_ >= 0) {
            ::close(master_);
            ::close(slave_);
        }
    }
    bool valid() const { return master_ >= 0; }
    QString path() const { return path_; }
    int slave() const { return slave_; }

    // Everything the far end has received so far.
    QByteArray drain() const
    {
        QByteArray received;
        char buffer[4096];
        pollfd ready{master_, POLLIN, 0};
        while (poll(&ready, 1, 50) > 0 && (ready.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            received.append(buffer, n);
        }
        return received;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

const QString Cancel = QStringLiteral("<cancel>");

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
    void writeAfterCloseFails();
    void windowsReachTheLine_data();
    void windowsReachTheLine();
};

void TestQtSerialPort::init()
{
    Pty probe;
    if (!probe.valid()) {
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
    Pty pty;
    QtSerialPort port;
    QVERIFY2(port.open(pty.path(), settings), qPrintable(port.error().reason));
    QVERIFY(port.isOpen());
    termios line{};
    QCOMPARE(tcgetattr(pty.slave(), &line), 0);
    QCOMPARE(int(cfgetospeed(&line)), speed);
    QCOMPARE(int(line.c_cflag & CSIZE), characterSize);
    QCOMPARE(bool(line.c_cflag & PARENB), parity);
    QCOMPARE(bool(line.c_cflag & CSTOPB), twoStop);

    // Every byte value passes unchanged: no newline translation, no stripping of the eighth bit.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    QVERIFY(port.write(all));
    QVERIFY(port.write("\x0C\x0D\x0A"));
    QCOMPARE(pty.drain(), all + "\x0C\x0D\x0A");
    port.close();
    QVERIFY(!port.isOpen());
}

void TestQtSerialPort::refusesToOpen_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("number");
    QTest::newRow("missing port") << "/dev/ttyDOESNOTEXIST7"
                                  << "9600,n,8,1" << int(PortErrorNumber::Missing);
    QTest::newRow("bad settings") << "pty"
                                  << "9600,x,8,1" << int(PortErrorNumber::BadSettings);
    QTest::newRow("not a number") << "pty"
                                  << "fast,n,8,1" << int(PortErrorNumber::BadSettings);
    // A pseudo-terminal keeps eight data bits only: a line that refuses the settings is not left open.
    QTest::newRow("settings the line refuses") << "pty"
                                               << "9600,n,7,1" << int(PortErrorNumber::BadSettings);
}

void TestQtSerialPort::refusesToOpen()
{
    QFETCH(QString, portText);
    QFETCH(QString, settings);
    QFETCH(int, number);
    Pty pty;
    QtSerialPort port;
    QVERIFY(!port.open(portText == "pty" ? pty.path() : portText, settings));
    QCOMPARE(port.error().number, number);
    QVERIFY(!port.error().reason.isEmpty());
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("x"));
}

void TestQtSerialPort::busyPortRefused()
{
    Pty pty;
    QtSerialPort first;
    QVERIFY(first.open(pty.path(), "9600,n,8,1"));
    QtSerialPort second;
    QVERIFY(!second.open(pty.path(), "9600,n,8,1"));
    QCOMPARE(second.error().number, int(PortErrorNumber::InUse));
    QVERIFY(!second.isOpen());
    first.close();
    QVERIFY2(second.open(pty.path(), "9600,n,8,1"), qPrintable(second.error().reason));
}

void TestQtSerialPort::writeAfterCloseFails()
{
    Pty pty;
    QtSerialPort port;
    QVERIFY(port.open(pty.path(), "9600,n,8,1"));
    port.close();
    QVERIFY(!port.write("A"));
    QCOMPARE(port.error().number, int(PortErrorNumber::WriteFailed));
    QVERIFY(pty.drain().isEmpty());
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
    Pty pty;
    const QList<SystemPortEntry> ports{{pty.path(), QStringLiteral("pseudo-terminal")}};

    DemoHarness recorded;
    recorded.context.systemPorts = [ports] { return ports; };
    Run(recorded, clicks, replies);

    DemoHarness real;
    real.context.systemPorts = [ports] { return ports; };
    real.context.makePort = [] { return std::make_unique<QtSerialPort>(); };
    Run(real, clicks, replies);
    QVERIFY2(real.dialogs.messages.isEmpty(), qPrintable(real.dialogs.messages.value(0).text));

    const QByteArray expected = AllWrites(recorded);
    QVERIFY(expected.size() > 10);
    QCOMPARE(Hex(pty.drain()), Hex(expected));
}

QTEST_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
