// The two long transfers of the window, clicked for real against the simulated display: "Cancel"
// stops them between two commands with the port closed, no restart sent and the person told how far
// they got; the firmware progress bar counts the pages sent.
#include "core/wire_trace.h"
#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

namespace {

// The simulated display behind a port that lets the test look at the window before each write,
// on the GUI thread, while the operation waits. The traced link forwards all else to the display.
class WatchedLink : public TracedLink
{
public:
    WatchedLink(SerialLink& inner, const Pacer& pacer, std::function<void(const QByteArray&)> beforeWrite)
        : TracedLink(inner, pacer), beforeWrite_(std::move(beforeWrite))
    {
    }
    LinkStatus write(const QByteArray& bytes) override
    {
        QMetaObject::invokeMethod(
            qApp, [&] { beforeWrite_(bytes); }, Qt::BlockingQueuedConnection);
        return TracedLink::write(bytes);
    }

private:
    std::function<void(const QByteArray&)> beforeWrite_;
};

const QByteArray kFirmwareImage = imageBytes(1200); // pages of 512, 512 and 176 bytes
const QByteArray kDemo = demoBytes(1500);           // blocks of 512, 512 and 474 bytes

struct TransferWindow : WindowFixture
{
    explicit TransferWindow(int tab)
        : WindowFixture(tab, nullptr, {}, [this] {
              return std::make_unique<WatchedLink>(display, pacer,
                                                   [this](const QByteArray& bytes) { beforeWrite(bytes); });
          })
    {
        find<QComboBox>("CmbCOM")->setCurrentText("COM9");
        tab == 1 ? choose("ComOpenFile_0", file("FW_VQ7146.wfu", wfuFile(kFirmwareImage)))
                 : choose("Command1", file("shop.dem", kDemo));
        dialogs.clear();
    }
    std::function<void(const QByteArray&)> beforeWrite = [](const QByteArray&) {};
};

} // namespace

class LongTransfersTest : public QObject
{
    Q_OBJECT

private slots:
    // The page, "Cancel" clicked before the n-th write that starts with the hex ("1F464D#2"), the last
    // write, and the first line of the box that says how far it got.
    void cancelStopsBetweenCommands_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<QByteArray>("lastWrite");
        QTest::addColumn<QString>("howFar");
        QTest::newRow("firmware header") << 1 << "1F465A#1" << QByteArray::fromHex("55AA5AA503")
                                         << "Firmware update cancelled before the first page.";
        QTest::newRow("firmware page 2") << 1 << "1F464D#2" << kFirmwareImage.mid(512, 512)
                                         << "Firmware update cancelled after page 1 of 3.";
        QTest::newRow("DEMO block 2") << 2 << "1F46521F464D#2" << kDemo.mid(512, 512)
                                      << "DEMO write cancelled after 512 of 1500 bytes.";
    }
    void cancelStopsBetweenCommands()
    {
        QFETCH(int, tab);
        QFETCH(QString, cancelAt);
        TransferWindow w(tab);
        const char* cancel = tab == 1 ? "ComCancelDownLoad" : "cmbCancelDEMO";
        QVERIFY(!w.find(cancel)->isEnabled());
        const QByteArray start = QByteArray::fromHex(cancelAt.section('#', 0, 0).toLatin1());
        int left = cancelAt.section('#', 1).toInt();
        w.beforeWrite = [&](const QByteArray& bytes) {
            if (bytes.startsWith(start) && --left == 0)
                QTest::mouseClick(w.find(cancel), Qt::LeftButton);
        };
        QVERIFY(w.clickAndWait(tab == 1 ? "ComDownLoad" : "cmbWriteDEMO"));
        const QList<SimulatedDisplay::Write> writes = w.display.writes();
        QTEST(writes.last().bytes, "lastWrite");
        for (const SimulatedDisplay::Write& write : writes)
            QVERIFY(write.bytes != QByteArray::fromHex("1F4640")); // no restart
        QVERIFY(!w.display.isOpen());
        QCOMPARE(w.dialogs.shown().last().title, QString("Cancelled"));
        QTEST(w.dialogs.shown().last().text.section("\r\n", 0, 0), "howFar");
        QVERIFY(!w.find(cancel)->isEnabled());
    }

    void firmwareBarCountsPagesSent()
    {
        TransferWindow w(1);
        QStringList seen;
        const auto* bar = w.find<QProgressBar>("ProgressBar1");
        const auto look = [&] {
            seen << QString("%1/%2 ").arg(bar->value()).arg(bar->maximum()) +
                        w.find<QLabel>("Label3_1")->text();
        };
        w.beforeWrite = [&](const QByteArray& bytes) {
            if (bytes.startsWith("Progressing"))
                look();
        };
        QVERIFY(w.clickAndWait("ComDownLoad"));
        look();
        QCOMPARE(seen, (QStringList{"0/3 0%", "1/3 42.6%", "2/3 85.3%", "3/3 100%"}));
    }
};

QTEST_MAIN(LongTransfersTest)
#include "test_long_transfers.moc"
