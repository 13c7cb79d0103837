// The window while an operation runs, clicked for real against the simulated display. "Cancel" stops
// the two long transfers between two commands with the port closed, no restart sent and the person
// told how far they got; the firmware progress bar counts the pages sent. When the event loop ends
// (QCoreApplication::exit), or the window is closed, under one of the boxes that do not look at the stop
// flag, the window is torn down within a second, with the port closed and nothing more sent: the boxes
// know the program is going down before anything waits for the window's device worker. A close is
// refused until the operation has stopped; then the window closes itself.
#include "core/cross_thread_call.h"
#include "core/wire_trace.h"
#include "setup/tests/operation_cases.h"
#include "setup/tests/window_fixture.h"
#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

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
        invokeAcrossThreads(
            qApp, [&] { beforeWrite_(bytes); }, Qt::BlockingQueuedConnection);
        return TracedLink::write(bytes);
    }

private:
    std::function<void(const QByteArray&)> beforeWrite_;
};

const QByteArray kThreePageImage = imageBytes(1200); // pages of 512, 512 and 176 bytes
const QByteArray kDemo = demoBytes(1500);            // blocks of 512, 512 and 474 bytes

struct TransferWindow : WindowFixture
{
    explicit TransferWindow(int tab)
        : WindowFixture(tab, nullptr, {}, [this] {
              return std::make_unique<WatchedLink>(display, pacer,
                                                   [this](const QByteArray& bytes) { beforeWrite(bytes); });
          })
    {
        find<QComboBox>("CmbCOM")->setCurrentText("COM9");
        tab == 1 ? choose("ComOpenFile_0", file("FW_VQ7146.wfu", wfuFile(kThreePageImage)))
                 : choose("Command1", file("shop.dem", kDemo));
        dialogs.clear();
    }
    std::function<void(const QByteArray&)> beforeWrite = [](const QByteArray&) {};
};

// Boxes asked for by an operation are real Qt boxes (the hop to the GUI thread is what is tested);
// file choices are scripted, and boxes of the GUI thread itself are only recorded.
class RealBoxDialogs : public ScriptedDialogs
{
public:
    explicit RealBoxDialogs(GuiDialogs& boxes) : boxes_(boxes) {}
    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        ScriptedDialogs::message(icon, title, text, detail);
        if (QThread::currentThread() != qApp->thread())
            boxes_.message(icon, title, text, detail);
    }

private:
    GuiDialogs& boxes_;
};

// The visible box with this title whose text begins with `text`, or null.
QMessageBox* shownBox(const QString& title, const QString& text)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible() && box->windowTitle() == title && box->text().startsWith(text))
            return box;
    }
    return nullptr;
}

} // namespace

class RunningOperationTest : public QObject
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
        QTest::newRow("firmware page 2") << 1 << "1F464D#2" << kThreePageImage.mid(512, 512)
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
        QTEST(w.display.writes().last().bytes, "lastWrite"); // and no restart after it
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

    void quitUnderABoxTearsDownAtOnce_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("boxTitle");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<bool>("closeWindow"); // instead of ending the loop; the box is then answered
        QTest::newRow("firmware: the mode reminder") << int(Op::FirmwareOnline) << "Online F/W Upload."
                                                     << "Firmware Update." << false;
        QTest::newRow("firmware: the success box before the restart")
            << int(Op::FirmwareOnline) << "Port Status"
            << "Firmware Update Sucessfully." << false;
        QTest::newRow("closed under the success box of a general write")
            << int(Op::GeneralWrite) << "Port Status"
            << "Flash Write OK !!" << true;
    }

    void quitUnderABoxTearsDownAtOnce()
    {
        QFETCH(int, op);
        QFETCH(QString, boxTitle);
        QFETCH(QString, boxText);
        QFETCH(bool, closeWindow);
        const OpCase& opCase = kOps[op];
        QWidget boxHost;
        GuiDialogs boxes(&boxHost);
        RealBoxDialogs dialogs(boxes);
        WindowFixture w(opCase.tab, &dialogs, {}, {}, &boxes);
        if (const QString file = opInputFile(opCase.op, w.dir); !file.isEmpty())
            w.choose("ComOpenFile_0", file);

        // The loop ends while the box is up; what the display holds then is all it may ever get.
        QByteArray wireAtBox;
        bool seen = false;
        QTimer watch;
        watch.setInterval(1);
        bool closeRefused = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (seen) {
                if (!w.window->isVisible())
                    QCoreApplication::exit(0); // closed once the operation stopped
                return;
            }
            if (QMessageBox* box = shownBox(boxTitle, boxText)) {
                seen = true;
                wireAtBox = w.display.wire();
                if (!closeWindow)
                    return QCoreApplication::exit(0);
                closeRefused = !w.window->close();
                box->button(QMessageBox::Ok)->click();
            } else if (QMessageBox* earlier = shownBox("Online F/W Upload.", QString())) {
                earlier->button(QMessageBox::Ok)->click(); // the person reads the reminder and goes on
            }
        });
        watch.start();
        QTimer::singleShot(10000, &watch, [] { QCoreApplication::exit(1); }); // the box never came
        QTest::mouseClick(w.find(opCase.button), Qt::LeftButton);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(closeRefused, closeWindow);

        QElapsedTimer teardown;
        teardown.start();
        w.window.reset();
        QVERIFY2(teardown.elapsed() < 1000, qPrintable(QString::number(teardown.elapsed())));
        QVERIFY(!w.display.isOpen());
        QCOMPARE(w.display.wire(), wireAtBox);
    }
};

QTEST_MAIN(RunningOperationTest)
#include "test_running_operation.moc"
