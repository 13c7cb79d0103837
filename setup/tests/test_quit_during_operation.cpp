// The event loop ends (QCoreApplication::exit), or the window is closed, while an operation of the
// window shows one of the boxes that do not look at the stop flag. The window must then be torn down
// within a second, with the port closed and nothing more sent: the boxes know the program is going
// down before anything waits for the operation's worker. A close is refused until the operation has
// stopped; then the window closes itself.
#include "operation_cases.h"
#include "widgets/gui_dialogs.h"
#include "window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

namespace {

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

class QuitDuringOperationTest : public QObject
{
    Q_OBJECT

private slots:
    void quitUnderABoxTearsDownAtOnce_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("boxTitle");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<bool>("closeWindow"); // instead of ending the loop; the box is then answered
        QTest::newRow("firmware: the mode reminder")
            << int(Op::FirmwareOnline) << QString() << "Online F/W Upload."
            << "Firmware Update." << false;
        QTest::newRow("firmware: the success box before the restart")
            << int(Op::FirmwareOnline) << QString() << "Port Status"
            << "Firmware Update Sucessfully." << false;
        QTest::newRow("title page: a character the display cannot show")
            << int(Op::TitleWrite) << QString::fromUtf8("\u4E2D") << "Title Page"
            << "The character" << false;
        QTest::newRow("closed under the success box of a general write")
            << int(Op::GeneralWrite) << QString() << "Port Status"
            << "Flash Write OK !!" << true;
    }

    void quitUnderABoxTearsDownAtOnce()
    {
        QFETCH(int, op);
        QFETCH(QString, line1);
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
        if (!line1.isNull())
            w.find<QLineEdit>("Text1_1")->setText(line1);
        std::unique_ptr<MainWindow>& window = w.window;
        SimulatedDisplay& display = w.display;

        // The loop ends while the box is up; what the display holds then is all it may ever get.
        QByteArray wireAtBox;
        bool seen = false;
        QTimer watch;
        watch.setInterval(1);
        bool closeRefused = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (seen) {
                if (!window->isVisible())
                    QCoreApplication::exit(0); // closed once the operation stopped
                return;
            }
            if (QMessageBox* box = shownBox(boxTitle, boxText)) {
                seen = true;
                wireAtBox = display.wire();
                if (!closeWindow)
                    return QCoreApplication::exit(0);
                closeRefused = !window->close();
                box->button(QMessageBox::Ok)->click();
            } else if (QMessageBox* earlier = shownBox("Online F/W Upload.", QString())) {
                earlier->button(QMessageBox::Ok)->click(); // the person reads the reminder and goes on
            }
        });
        watch.start();
        QTimer giveUp; // the box never came
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        giveUp.start(10000);
        QTest::mouseClick(w.find(opCase.button), Qt::LeftButton);
        QVERIFY(window->runner().busy());
        QCOMPARE(QCoreApplication::exec(), 0);
        watch.stop();
        QVERIFY(seen);
        QCOMPARE(closeRefused, closeWindow);

        QElapsedTimer teardown;
        teardown.start();
        window.reset();
        QVERIFY2(teardown.elapsed() < 1000, qPrintable(QString::number(teardown.elapsed())));
        QVERIFY(!display.isOpen());
        QCOMPARE(display.wire(), wireAtBox);
    }
};

QTEST_MAIN(QuitDuringOperationTest)
#include "test_quit_during_operation.moc"
