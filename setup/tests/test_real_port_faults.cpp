// Operations over the real QtSerialLink on a pseudo-terminal pair, in real time: the far side going
// away in the middle of a DEMO or firmware transfer, and a port whose modem lines cannot be read.
// A pty has no DSR, so where the operation has to get past the presence and acknowledgement waits
// a test-only link in front of the real one plays the display's DSR; every byte still goes through
// the real port.
#include "content_bench.h"
#include "core/qt_serial_link.h"
#include "firmware_test_support.h"
#include "operations/demo_transfer.h"
#include "operations/firmware_update.h"
#include "operations/general_record.h"
#include "operations/title_page.h"
#include "presented.h"
#include "protocol/display_access.h"
#include "pty_pair.h"
#include "scripted_dialogs.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

const QString kWriteError = QStringLiteral("Port Error: COM Port Write Error( 8020) !!");
const QByteArray kRestartCommand = QByteArray::fromHex("1F4640");

// The display's end of a pty pair, read on its own thread. It hangs up (closes the master) once
// `hangUpAfter` bytes have come; the slave stays open so the pair lives until then.
class FarSide
{
public:
    explicit FarSide(qsizetype hangUpAfter) : hangUpAfter_(hangUpAfter)
    {
        if (pty_.ok())
            reader_ = std::thread([this] { read(); });
    }
    ~FarSide()
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
    }
    FarSide(const FarSide&) = delete;
    FarSide& operator=(const FarSide&) = delete;

    bool ok() const { return reader_.joinable(); }
    const QString& path() const { return pty_.path(); }
    bool hungUp() const { return hungUp_; }
    QByteArray received() const
    {
        QMutexLocker lock(&mutex_);
        return received_;
    }

private:
    void read()
    {
        // Small reads, so that the hang-up comes in the middle of a block, not after a whole one.
        while (!stop_) {
            const QByteArray got = pty_.readAvailable(10, 64);
            QMutexLocker lock(&mutex_);
            received_ += got;
            if (hangUpAfter_ >= 0 && received_.size() >= hangUpAfter_) {
                pty_.closeMaster();
                hungUp_ = true;
                return;
            }
        }
    }

    PtyPair pty_;
    qsizetype hangUpAfter_;
    std::thread reader_;
    std::atomic_bool stop_ = false;
    std::atomic_bool hungUp_ = false;
    mutable QMutex mutex_;
    QByteArray received_;
};

// Plays the display's DSR in front of a real link: high while the port is open, with one low
// pulse of 100 ms starting 10 ms after the first look at DSR that follows a write.
class PulsingDsrLink : public SerialLink
{
public:
    explicit PulsingDsrLink(SerialLink& inner) : inner_(inner) { clock_.start(); }

    void setPortName(const QString& name) override { inner_.setPortName(name); }
    QString portName() const override { return inner_.portName(); }
    LinkStatus setSettings(const LineSettings& settings) override { return inner_.setSettings(settings); }
    LineSettings settings() const override { return inner_.settings(); }
    LinkStatus open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    LinkStatus write(const QByteArray& bytes) override
    {
        armed_ = true;
        return inner_.write(bytes);
    }
    bool dsr() override
    {
        if (!inner_.isOpen())
            return false;
        const qint64 now = clock_.elapsed();
        if (armed_) {
            armed_ = false;
            pulseStart_ = now + 10;
            return true;
        }
        return !(pulseStart_ >= 0 && now >= pulseStart_ && now < pulseStart_ + 100);
    }
    qint64 bytesToWrite() override { return inner_.bytesToWrite(); }

private:
    SerialLink& inner_;
    QElapsedTimer clock_;
    bool armed_ = false;
    qint64 pulseStart_ = -1;
};

} // namespace

class RealPortFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    // The far side goes away after `hangUpAfter` bytes. The operation ends with one "Port Error"
    // box, the port closed, in real time well within what its waits allow, and what arrived
    // before is the start of the transfer with no restart command.
    void farSideClosesDuringTransfer_data()
    {
        QTest::addColumn<bool>("firmware");
        QTest::addColumn<int>("hangUpAfter");
        // DEMO: the setup request, the header frames (14 bytes), then 512-byte blocks after 10-byte frames.
        QTest::newRow("DEMO, inside the third block") << false << 20 + 14 + 2 * (10 + 512) + 200;
        QTest::newRow("DEMO, right after the header") << false << 20 + 14;
        // Firmware: the setup request, FR FF, the header frames (14 bytes), the first page's text
        // (43 bytes), then the page (13 + 512 bytes).
        QTest::newRow("firmware, after the first page's text") << true << 20 + 6 + 14 + 43;
        QTest::newRow("firmware, inside the first page") << true << 20 + 6 + 14 + 43 + 300;
    }
    void farSideClosesDuringTransfer()
    {
        QFETCH(bool, firmware);
        QFETCH(int, hangUpAfter);
        FarSide far(hangUpAfter);
        QVERIFY(far.ok());
        QTemporaryDir dir;
        const QString demoPath = dir.filePath("shop.dem");
        const QByteArray demo = content_test::DemoBytes(6000);
        QVERIFY(firmware_test::WriteFile(demoPath, demo));
        const QByteArray image = firmware_test::Pattern(1500) + QByteArray(1, '\0');

        QtSerialLink real;
        PulsingDsrLink link(real);
        RealPacer pacer;
        ScriptedDialogs dialogs;
        DisplayAccess device(link, pacer, dialogs, {far.path(), {}, {}, {}});
        QElapsedTimer timer;
        timer.start();
        const bool ok = static_cast<bool>(firmware ? Presented(dialogs, updateFirmware(device, image, false))
                                                   : Presented(dialogs, writeDemo(device, demoPath)));
        const qint64 elapsed = timer.elapsed();

        QVERIFY(!ok);
        QVERIFY(far.hungUp());
        QStringList expected;
        if (firmware)
            expected << "Online F/W Upload.: Firmware Update.\r\nMake sure DIP-12 in OFF status.";
        expected << kWriteError;
        QCOMPARE(dialogs.messages(), expected);
        QVERIFY(!dialogs.shown().last().detail.isEmpty());
        QVERIFY(!real.isOpen());
        // The firmware path has its two one-second pauses before the first page; nothing else
        // may add to the few acknowledgements.
        QCOMPARE_LT(elapsed, firmware ? 3500 : 2000);

        const QByteArray received = far.received();
        QCOMPARE_GE(received.size(), hangUpAfter);
        QVERIFY(received.startsWith(QByteArray(20, '\x02')));
        QVERIFY(!received.contains(kRestartCommand));
        if (!firmware) {
            // The header, then the blocks in order: the first block is the file's beginning.
            const qsizetype firstBlock = 20 + 14 + 10;
            if (received.size() <= firstBlock)
                return; // hung up before the first block
            QCOMPARE(received.mid(firstBlock - 10, 4), QByteArray::fromHex("1F46521F"));
            QCOMPARE(received.mid(firstBlock, 512),
                     demo.left(std::min<qsizetype>(512, received.size() - firstBlock)));
        }
    }

    // A port that cannot report its modem lines reads DSR as low: the open gives up after its
    // 1.0 s with the box, sends nothing and closes the port.
    void portWithoutModemLines_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("general write") << 0;
        QTest::newRow("title write") << 1;
        QTest::newRow("firmware forced") << 2;
    }
    void portWithoutModemLines()
    {
        QFETCH(int, operation);
        FarSide far(-1);
        QVERIFY(far.ok());
        QtSerialLink link;
        RealPacer pacer;
        ScriptedDialogs dialogs;
        DisplayAccess device(link, pacer, dialogs, {far.path(), {}, {}, {}});
        QElapsedTimer timer;
        timer.start();
        bool ok = true;
        QStringList expected;
        if (operation == 0) {
            ok = static_cast<bool>(Presented(dialogs, writeGeneralParameters(device, {})));
        } else if (operation == 1) {
            ok = static_cast<bool>(Presented(dialogs, writeTitlePage(device, "Fresh bread", "daily")));
        } else {
            ok = static_cast<bool>(Presented(
                dialogs, updateFirmware(device, firmware_test::Pattern(100) + QByteArray(1, '\0'), true)));
            expected << "Force Overwrite F/W.: Firmware Update.\r\nMake sure DIP-12 in ON status.";
        }
        const qint64 elapsed = timer.elapsed();
        expected << "Port Status: Display DSR not ready yet !!";
        QVERIFY(!ok);
        QCOMPARE(dialogs.messages(), expected);
        QCOMPARE_GE(elapsed, 1000);
        QCOMPARE_LT(elapsed, 1500);
        QVERIFY(!link.isOpen());
        QTest::qWait(50);
        QVERIFY(far.received().isEmpty());
    }
};

QTEST_GUILESS_MAIN(RealPortFaultsTest)
#include "test_real_port_faults.moc"
