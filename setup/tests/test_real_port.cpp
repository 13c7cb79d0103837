// The real port link against a pseudo-terminal pair (the test plays the display on the master
// side): bytes, line settings, refusals, a busy or missing port, the output queue, a far side that
// goes away (a transfer that meets it: the fault matrix); then an operation over it in real time.
#include "core/qt_serial_link.h"
#include "setup/tests/operation_cases.h"
#include "setup/tests/pty_pair.h"

#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {

// A timer that has started.
const auto startedTimer = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
};

const auto line = [](const QString& text) { return LineSettings::parse(text).value(); };

// A link open on a fresh pair.
struct OpenLink
{
    explicit OpenLink(int writeTimeoutMs = QtSerialLink::kDefaultWriteTimeoutMs) : link(writeTimeoutMs)
    {
        link.setPortName(pty.path());
        link.setSettings(line("9600,N,8,1"));
        QVERIFY(link.open().ok());
    }
    PtyPair pty;
    QtSerialLink link;
};

} // namespace

class RealPortTest : public QObject
{
    Q_OBJECT

private slots:
    // Every byte value and the control bytes a cooked terminal or software flow control would
    // change pass unchanged, in order, however the writes are cut.
    void writesArriveInOrder()
    {
        OpenLink open;
        QByteArray everyValue;
        for (int i = 0; i < 256; ++i)
            everyValue += char(i);
        const QByteArray writes[] = {everyValue, QByteArray("\r\n\n\x03\x11\x13\x1A\x04\x7F\x00", 10),
                                     demoBytes(3000)};
        QByteArray received;
        for (const QByteArray& bytes : writes) {
            QVERIFY(open.link.write(bytes).ok());
            received += open.pty.read(bytes.size());
        }
        QCOMPARE(received.toHex(), (writes[0] + writes[1] + writes[2]).toHex());
        QCOMPARE(open.pty.read(1, 50), QByteArray());
    }

    // A Linux pty keeps the speed, the stop bits and the parity kind, but forces 8 data bits and
    // drops the parity enable, so these are the bits checked; what it refuses is the next test.
    void settingsTakeEffect_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<uint>("parityKind");
        QTest::addColumn<bool>("twoStopBits");
        QTest::newRow("19200,O,8,2") << "19200,O,8,2" << uint(B19200) << uint(PARODD) << true;
#ifdef CMSPAR
        QTest::newRow("mark parity 1200,M,8,1")
            << "1200,M,8,1" << uint(B1200) << uint(PARODD | CMSPAR) << false;
        QTest::newRow("space parity 2400,s,8,1") << "2400,s,8,1" << uint(B2400) << uint(CMSPAR) << false;
#endif
    }
    void settingsTakeEffect()
    {
        QFETCH(QString, settings);
        QFETCH(uint, speed);
        QFETCH(uint, parityKind);
        QFETCH(bool, twoStopBits);
        OpenLink open;
        QVERIFY(open.link.setSettings(line(settings)).ok()); // while open: at once
        const termios t = open.pty.lineSettings();
        QCOMPARE(uint(::cfgetospeed(&t)), speed);
        tcflag_t kind = PARODD;
#ifdef CMSPAR
        kind |= CMSPAR;
#endif
        QCOMPARE(uint(t.c_cflag & kind), parityKind);
        QCOMPARE(bool(t.c_cflag & CSTOPB), twoStopBits);
        // No flow control of either kind, and a raw line: nothing rewrites the frames.
        QCOMPARE(uint(t.c_cflag & CRTSCTS) | uint(t.c_iflag & (IXON | IXOFF | IXANY)) |
                     uint(t.c_oflag & OPOST),
                 0u);
    }

    // Settings the open port refuses: the port's words, and the line back as it was, speed included.
    // A pty has no modem lines: DSR cannot be read, at once, and is polled (its driver counts no
    // changes). Neither leaves an error for the next write.
    void settingsThePortRefusesAndDsrCannotBeRead()
    {
        OpenLink open;
        for (const char* refused : {"115200,E,7,1", "4800,O,6,1"}) {
            const LinkStatus status = open.link.setSettings(line(refused));
            QCOMPARE(status.what, LinkFailure::SettingsRefused);
            QVERIFY(!status.reason.isEmpty());
            QVERIFY(open.link.settings() == line("9600,N,8,1"));
            const termios t = open.pty.lineSettings();
            QCOMPARE(uint(::cfgetospeed(&t)), uint(B9600));
        }
        QElapsedTimer timer = startedTimer();
        QVERIFY(open.link.dsr() == DsrLevel::Unreadable && !open.link.dsrUnreadableReason().isEmpty());
        QVERIFY(!open.link.reportsDsrChanges());
        QCOMPARE_LT(timer.elapsed(), 20);
        QVERIFY(open.link.write("ok").ok());
        QCOMPARE(open.pty.read(2), QByteArray("ok"));
    }

    void portInUse()
    {
        OpenLink first;
        QtSerialLink second;
        second.setPortName(first.pty.path());
        QCOMPARE(second.open().what, LinkFailure::PortBusy); // Qt's lock file, even for root
        // A link that did not open refuses writes and reads DSR low. (Missing ports: the input checks.)
        QCOMPARE(second.write("x").what, LinkFailure::WriteFailed);
        QCOMPARE(second.dsr(), DsrLevel::Low);
        QCOMPARE(second.bytesToWrite(), 0);
        QCOMPARE(first.link.open().what, LinkFailure::PortOpenHere);
        QVERIFY(first.link.isOpen());
        first.link.close();
        QVERIFY(second.open().ok()); // the lock went with the close
        QVERIFY(second.write("next").ok());
        QCOMPARE(first.pty.read(4), QByteArray("next"));
    }

    // A slow far side is no failure: what is left is counted until it has all arrived, in order,
    // moved only by the link's own calls; a far side that has gone fails every call at once.
    void outputQueueAndFarSideGone()
    {
        OpenLink open(100);
        const QByteArray block = imageBytes(200000);
        QVERIFY(open.link.write(block).ok());
        QCOMPARE_GT(open.link.bytesToWrite(), 0);
        QByteArray received;
        QElapsedTimer timer = startedTimer();
        for (qint64 left = 1; (received.size() < block.size() || left > 0) && timer.elapsed() < 5000;) {
            received += open.pty.read(1, 10);
            left = open.link.bytesToWrite(); // only the link's own calls move the rest
        }
        QCOMPARE(received.size(), block.size());
        QVERIFY(received == block);
        QCOMPARE(open.link.bytesToWrite(), 0);

        QVERIFY(open.link.write(block).ok());
        open.pty.closeMaster();
        timer.restart();
        QCOMPARE(open.link.write("gone").what, LinkFailure::WriteFailed);
        open.link.bytesToWrite();
        QCOMPARE_LT(timer.elapsed(), 500);
        open.link.close();
        QVERIFY(!open.link.isOpen());
    }

    // Made on this thread, used on a QThread that never runs its event loop, as the window's worker does.
    void worksOnAThreadWithoutEventLoop()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        PtyPair pty;
        QtSerialLink link;
        link.setPortName(pty.path());
        bool written = false;
        qint64 left = -1;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            written = link.open().ok() && link.setSettings(line("115200,N,8,1")).ok() &&
                      link.write(imageBytes(1000)).ok() && link.write("end").ok();
            QElapsedTimer timer = startedTimer();
            do {
                left = link.bytesToWrite();
            } while (left > 0 && timer.elapsed() < 2000);
            link.close();
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QVERIFY(written);
        QCOMPARE(left, 0);
        QCOMPARE(pty.read(1003), imageBytes(1000) + "end");
    }
};

QTEST_GUILESS_MAIN(RealPortTest)
#include "test_real_port.moc"
