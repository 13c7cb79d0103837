// The real port link against a pseudo-terminal pair: the link opens the slave by its path, the test
// plays the display on the master side.
#include "core/qt_serial_link.h"
#include "pty_pair.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <memory>
#include <termios.h>

namespace {

QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251); // a prime period, so a lost or repeated block shows
    return bytes;
}

} // namespace

// Settings the tests know to be valid.
LineSettings Line(const QString& text)
{
    return LineSettings::parse(text).value();
}

class QtSerialLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void writesArriveInOrder_data()
    {
        QByteArray everyValue;
        for (int i = 0; i < 256; ++i)
            everyValue.append(static_cast<char>(i));
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::newRow("every byte value") << QList<QByteArray>{everyValue};
        // Line endings, interrupt, XON/XOFF, end of file, delete: a terminal that is not raw or that
        // has software flow control would change or swallow these.
        QTest::newRow("control bytes pass unchanged")
            << QList<QByteArray>{QByteArray("\r\n\n\x03\x11\x13\x1A\x04\x7F\xFF\x00\x1F", 12)};
        QTest::newRow("several writes keep their order") << QList<QByteArray>{"\x1F"
                                                                              "FR",
                                                                              "\x1F"
                                                                              "FC",
                                                                              QByteArray(4, '\0'),
                                                                              "\x0C"
                                                                              "line one",
                                                                              "two"};
        QTest::newRow("a firmware-page-sized block") << QList<QByteArray>{Pattern(1100)};
        QTest::newRow("a few kilobytes in one write") << QList<QByteArray>{Pattern(3000)};
    }
    void writesArriveInOrder()
    {
        QFETCH(QList<QByteArray>, writes);
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link;
        link.setPortName(pty.path());
        QVERIFY(link.setSettings(Line(QStringLiteral("9600,N,8,1"))).ok());
        const LinkStatus opened = link.open();
        QVERIFY2(opened.ok(), qPrintable(opened.reason));

        QByteArray expected;
        QByteArray received;
        for (const QByteArray& bytes : writes) {
            const LinkStatus status = link.write(bytes);
            QVERIFY2(status.ok(), qPrintable(status.reason));
            expected += bytes;
            // Read as we go: the pty holds only a few kilobytes before a write has to wait.
            received += pty.readAvailable(0);
        }
        received += pty.read(expected.size() - received.size());
        QCOMPARE(received.toHex(' '), expected.toHex(' '));
        QCOMPARE(pty.readAvailable(50), QByteArray()); // and nothing after them
    }

    // A Linux pty keeps the speed, the stop bits and the parity kind (PARODD, CMSPAR) it is given,
    // but its driver forces 8 data bits and clears the parity enable (PARENB) on every change. So
    // the bits checked here are the ones a pty keeps, and the rows are requests Qt lets through on
    // a pty; those it refuses there are the failure cases below.
    void settingsTakeEffect_data()
    {
        QTest::addColumn<bool>("changeWhileOpen");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<uint>("parityKind"); // PARODD, CMSPAR as set
        QTest::addColumn<bool>("twoStopBits");
        QTest::newRow("while open: 19200,O,8,2")
            << true << "19200,O,8,2" << uint(B19200) << uint(PARODD) << true;
        QTest::newRow("while open: lower-case parity 4800,o,8,1")
            << true << "4800,o,8,1" << uint(B4800) << uint(PARODD) << false;
        QTest::newRow("while open: spaces around parts")
            << true << " 38400 , n , 8 , 2 " << uint(B38400) << 0u << true;
#ifdef CMSPAR
        QTest::newRow("while open: mark parity 1200,M,8,1")
            << true << "1200,M,8,1" << uint(B1200) << uint(PARODD | CMSPAR) << false;
        QTest::newRow("while open: space parity 2400,s,8,1")
            << true << "2400,s,8,1" << uint(B2400) << uint(CMSPAR) << false;
#endif
        QTest::newRow("before open: 57600,O,8,2")
            << false << "57600,O,8,2" << uint(B57600) << uint(PARODD) << true;
    }
    void settingsTakeEffect()
    {
        QFETCH(bool, changeWhileOpen);
        QFETCH(QString, settings);
        QFETCH(uint, speed);
        QFETCH(uint, parityKind);
        QFETCH(bool, twoStopBits);
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link;
        link.setPortName(pty.path());
        QVERIFY(link.setSettings(Line(changeWhileOpen ? QStringLiteral("9600,N,8,1") : settings)).ok());
        QVERIFY(link.open().ok());
        if (changeWhileOpen) {
            const termios before = pty.lineSettings();
            QCOMPARE(uint(::cfgetospeed(&before)), uint(B9600));
            const LinkStatus status = link.setSettings(Line(settings));
            QVERIFY2(status.ok(), qPrintable(status.reason));
        }
        QVERIFY(link.settings() == Line(settings));

        const termios t = pty.lineSettings();
        QCOMPARE(uint(::cfgetospeed(&t)), speed);
        QCOMPARE(uint(::cfgetispeed(&t)), speed);
        tcflag_t parityKindMask = PARODD;
#ifdef CMSPAR
        parityKindMask |= CMSPAR;
#endif
        QCOMPARE(uint(t.c_cflag & parityKindMask), parityKind);
        QCOMPARE(bool(t.c_cflag & CSTOPB), twoStopBits);
        // No flow control of either kind, and a raw line: nothing rewrites the frames.
        QCOMPARE(uint(t.c_cflag & CRTSCTS), 0u);
        QCOMPARE(uint(t.c_iflag & (IXON | IXOFF | IXANY)), 0u);
        QCOMPARE(uint(t.c_oflag & OPOST), 0u);

        // The line still carries bytes after the change.
        QVERIFY(link.write("after").ok());
        QCOMPARE(pty.read(5), QByteArray("after"));
    }

    // Settings the text allows but the open port refuses. Qt reads the line back after changing it
    // and reports "Invalid argument" when a requested bit is missing; on a pty that is 6 or 7 data
    // bits and even parity (the driver forces CS8 and drops PARENB; 5 data bits, CS5 being no bit
    // at all, and odd parity, which keeps PARODD, pass Qt's check). The refusal carries the port's
    // words, and the line goes back to what it was, including the speed switched before the
    // refused part.
    void settingsThePortRefuses_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::newRow("115200,E,7,1") << "115200,E,7,1";
        QTest::newRow("115200,E,8,2") << "115200,E,8,2";
        QTest::newRow("4800,O,6,1") << "4800,O,6,1";
    }
    void settingsThePortRefuses()
    {
        QFETCH(QString, settings);
        const QString before = QStringLiteral("9600,N,8,1");
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link;
        link.setPortName(pty.path());
        QVERIFY(link.setSettings(Line(before)).ok());
        QVERIFY(link.open().ok());

        const LinkStatus status = link.setSettings(Line(settings));
        QCOMPARE(status.number, LinkError::OpenFailed);
        QVERIFY(!status.reason.isEmpty());
        QVERIFY(link.settings() == Line(before));
        const termios t = pty.lineSettings();
        QCOMPARE(uint(::cfgetospeed(&t)), uint(B9600));
        QCOMPARE(uint(t.c_cflag & (PARODD | CSTOPB)), 0u);
        QVERIFY(link.isOpen());
        // The refusal leaves no error behind for the next write.
        const LinkStatus written = link.write("ok");
        QVERIFY2(written.ok(), qPrintable(written.reason));
        QCOMPARE(pty.read(2), QByteArray("ok"));
    }

    void invalidSettingsAreRefused_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::newRow("unknown parity letter") << "9600,X,8,1";
        QTest::newRow("two parity letters") << "9600,NN,8,1";
        QTest::newRow("not a list") << "abc";
        QTest::newRow("nine data bits") << "9600,N,9,1";
        QTest::newRow("four data bits") << "9600,N,4,1";
        QTest::newRow("three stop bits") << "9600,N,8,3";
        QTest::newRow("empty") << "";
        QTest::newRow("zero baud") << "0,N,8,1";
        QTest::newRow("negative baud") << "-9600,N,8,1";
        QTest::newRow("signed baud") << "+9600,N,8,1";
        QTest::newRow("letters in the baud") << "96OO,N,8,1";
        QTest::newRow("baud beyond 32 bits") << "99999999999,N,8,1";
        QTest::newRow("part missing") << "9600,N,8";
        QTest::newRow("part too many") << "9600,N,8,1,0";
        QTest::newRow("empty part") << "9600,,8,1";
    }
    void invalidSettingsAreRefused()
    {
        QFETCH(QString, settings);
        QString reason;
        QVERIFY(!LineSettings::parse(settings, &reason));
        QVERIFY(reason.contains(settings));
    }

    void missingPorts_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("number");
        // Qt 6.4 on Linux reports a missing node as DeviceNotFoundError ("No such file or directory").
        QTest::newRow("missing device path") << "/dev/ttyS-does-not-exist" << LinkError::PortMissing;
        QTest::newRow("missing device by name") << "ttyS-does-not-exist" << LinkError::PortMissing;
        QTest::newRow("COM with letters") << "COMX" << LinkError::OpenFailed;
        QTest::newRow("COM0") << "COM0" << LinkError::OpenFailed;
        QTest::newRow("COM fraction") << "COM1.5" << LinkError::OpenFailed;
    }
    void missingPorts()
    {
        QFETCH(QString, port);
        QFETCH(int, number);
        QtSerialLink link;
        link.setPortName(port);
        const LinkStatus status = link.open();
        QCOMPARE(status.number, number);
        QVERIFY(!status.reason.isEmpty());
        QVERIFY(!link.isOpen());
        QCOMPARE(link.portName(), port);
        // A link that did not open refuses writes and reads no line, without touching a port.
        QCOMPARE(link.write("x").number, LinkError::WriteFailed);
        QVERIFY(!link.dsr());
        QCOMPARE(link.bytesToWrite(), 0);

        // The same link opens once it is given a port that exists.
        PtyPair pty;
        QVERIFY(pty.ok());
        link.setPortName(pty.path());
        QVERIFY(link.open().ok());
        QVERIFY(link.write("ok").ok());
        QCOMPARE(pty.read(2), QByteArray("ok"));
    }

    void portInUse()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink first;
        QtSerialLink second;
        first.setPortName(pty.path());
        second.setPortName(pty.path());
        QVERIFY(first.open().ok());

        // Another holder: Qt takes a lock file (LCK.. under /var/lock) for the device and refuses the
        // second open with PermissionError ("Permission error while locking the device"), even for
        // root, whom the terminal's exclusive mode (TIOCEXCL) would not stop.
        LinkStatus status = second.open();
        QCOMPARE(status.number, LinkError::PortInUse);
        QVERIFY(!status.reason.isEmpty());
        QVERIFY(!second.isOpen());

        // Opening the link that holds it: Qt's OpenError ("Device is already open"); it stays usable.
        status = first.open();
        QCOMPARE(status.number, LinkError::PortInUseByOther);
        QVERIFY(!status.reason.isEmpty());
        QVERIFY(first.isOpen());
        QVERIFY(first.write("still").ok());
        QCOMPARE(pty.read(5), QByteArray("still"));

        // Closing gives the device up: the lock goes with it.
        first.close();
        QVERIFY(!first.isOpen());
        status = second.open();
        QVERIFY2(status.ok(), qPrintable(status.reason));
        QVERIFY(second.write("next").ok());
        QCOMPARE(pty.read(4), QByteArray("next"));
    }

    void dsrOnPseudoTerminalIsFalse()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link;
        QVERIFY(!link.dsr()); // never opened
        link.setPortName(pty.path());
        QVERIFY(link.open().ok());
        // A pty has no modem lines: the query fails with "Inappropriate ioctl for device".
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!link.dsr());
            QCOMPARE_LT(timer.elapsed(), 20);
        }
        // The failed query leaves nothing behind for the next write.
        const LinkStatus status = link.write("w");
        QVERIFY2(status.ok(), qPrintable(status.reason));
        QCOMPARE(pty.read(1), QByteArray("w"));
    }

    void bytesToWriteCountsWhatHasNotLeft()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        // A short write bound, so that most of a large block is still waiting when write() returns.
        QtSerialLink link(100);
        link.setPortName(pty.path());
        QVERIFY(link.open().ok());
        QCOMPARE(link.bytesToWrite(), 0);

        const QByteArray block = Pattern(200000);
        QElapsedTimer timer;
        timer.start();
        const LinkStatus status = link.write(block);
        QVERIFY2(status.ok(), qPrintable(status.reason)); // a far side that is slow is no failure
        QCOMPARE_LT(timer.elapsed(), 1000);
        const qint64 pending = link.bytesToWrite();
        QCOMPARE_GT(pending, 0);
        QCOMPARE_LE(pending, block.size());

        // Nothing runs an event loop: only the link's own calls can move the rest. It must all
        // arrive, in order, and the count must come down to 0 once it has.
        QByteArray received;
        timer.restart();
        qint64 left = pending;
        while ((received.size() < block.size() || left > 0) && timer.elapsed() < 5000) {
            received += pty.readAvailable(10);
            left = link.bytesToWrite();
        }
        QCOMPARE(received.size(), block.size());
        QVERIFY(received == block);
        QCOMPARE(link.bytesToWrite(), 0);
    }

    void writeAfterFarSideIsGone_data()
    {
        QTest::addColumn<bool>("bytesPending");
        QTest::newRow("idle line") << false;
        QTest::newRow("bytes still waiting") << true;
    }
    void writeAfterFarSideIsGone()
    {
        QFETCH(bool, bytesPending);
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link(100);
        link.setPortName(pty.path());
        QVERIFY(link.open().ok());
        if (bytesPending) {
            QVERIFY(link.write(Pattern(200000)).ok());
            QCOMPARE_GT(link.bytesToWrite(), 0);
        }
        pty.closeMaster();

        // Every call comes back at once. Qt's wait services the input side too and finds the
        // line dead there first: it reports a ReadError, which the link gives as a write failure.
        QElapsedTimer timer;
        timer.start();
        LinkStatus status = link.write("gone");
        QCOMPARE(status.number, LinkError::WriteFailed);
        QVERIFY(!status.reason.isEmpty());
        status = link.write("again");
        QCOMPARE(status.number, LinkError::WriteFailed);
        QVERIFY(!link.dsr());
        link.bytesToWrite();
        QCOMPARE_LT(timer.elapsed(), 500);
        QVERIFY(link.isOpen()); // Qt keeps the descriptor; closing is the caller's move
        link.close();
        QVERIFY(!link.isOpen());
    }

    void worksOnAThreadWithoutEventLoop()
    {
        // Made on this thread, used on a QThread that never runs its event loop, as the window hands
        // it to the operation's worker. A port bound to the wrong thread shows up as Qt warnings
        // about socket notifiers.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        PtyPair pty;
        QVERIFY(pty.ok());
        QtSerialLink link;
        link.setPortName(pty.path());
        bool opened = false;
        bool written = false;
        qint64 left = -1;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            opened = link.open().ok();
            written = link.setSettings(Line(QStringLiteral("115200,N,8,1"))).ok() &&
                      link.write(Pattern(1000)).ok() && link.write("end").ok();
            link.dsr();
            QElapsedTimer timer;
            timer.start();
            do {
                left = link.bytesToWrite();
            } while (left > 0 && timer.elapsed() < 2000);
            link.close();
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QVERIFY(opened);
        QVERIFY(written);
        QCOMPARE(left, 0);
        QCOMPARE(pty.read(1003), Pattern(1000) + "end");
    }

    void systemPortsAreSortedByLocation()
    {
        const auto ports = QtSerialLink::systemPorts();
        for (qsizetype i = 0; i < ports.size(); ++i) {
            QVERIFY(!ports[i].first.isEmpty());
            if (i > 0)
                QVERIFY(ports[i - 1].first < ports[i].first);
        }
    }
};

QTEST_GUILESS_MAIN(QtSerialLinkTest)
#include "test_qt_serial_link.moc"
