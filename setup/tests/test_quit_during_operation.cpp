// The event loop ends (QCoreApplication::exit) while an operation of the window shows one of the
// boxes that do not look at the stop flag. The window must then be torn down within a second, with
// the port closed and nothing more sent: the boxes know the program is going down before anything
// waits for the operation's worker.
#include "gui/main_window.h"
#include "operation_cases.h"
#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>
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
QMessageBox* ShownBox(const QString& title, const QString& text)
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
        QTest::newRow("firmware: the mode reminder")
            << int(Op::FirmwareOnline) << QString() << "Online F/W Upload."
            << "Firmware Update.";
        QTest::newRow("firmware: the success box before the restart")
            << int(Op::FirmwareOnline) << QString() << "Port Status"
            << "Firmware Update Sucessfully.";
        QTest::newRow("title page: a character the display cannot show")
            << int(Op::TitleWrite) << QString::fromUtf8("\u4E2D") << "Title Page"
            << "The character";
    }

    void quitUnderABoxTearsDownAtOnce()
    {
        QFETCH(int, op);
        QFETCH(QString, line1);
        QFETCH(QString, boxTitle);
        QFETCH(QString, boxText);
        const OpCase& opCase = kOps[op];
        Bench bench;
        QWidget boxHost;
        GuiDialogs boxes(&boxHost);
        RealBoxDialogs dialogs(boxes);
        QSettings settings(bench.dir.filePath("store.ini"), QSettings::IniFormat);
        DeviceServices services{&bench.pacer, &dialogs, &bench.display, {}, nullptr, &boxes};
        auto window = std::make_unique<MainWindow>(services, &settings);
        window->load();
        window->findChild<QComboBox*>("CmbCOM")->setCurrentText("sim");
        window->findChild<QTabBar*>("tabMain")->setCurrentIndex(opCase.tab);
        window->show();
        if (const QString file = opInputFile(opCase.op, bench.dir); !file.isEmpty()) {
            dialogs.scriptFile(file);
            QTest::mouseClick(window->findChild<QPushButton*>("ComOpenFile_0"), Qt::LeftButton);
        }
        if (!line1.isNull())
            window->findChild<QLineEdit*>("Text1_1")->setText(line1);
        SimulatedDisplay& display = bench.display;

        // The loop ends while the box is up; what the display holds then is all it may ever get.
        QByteArray wireAtBox;
        bool seen = false;
        QTimer watch;
        watch.setInterval(1);
        connect(&watch, &QTimer::timeout, this, [&] {
            if (seen)
                return;
            if (ShownBox(boxTitle, boxText)) {
                seen = true;
                wireAtBox = display.wire();
                QCoreApplication::exit(0);
            } else if (QMessageBox* earlier = ShownBox("Online F/W Upload.", QString())) {
                earlier->button(QMessageBox::Ok)->click(); // the person reads the reminder and goes on
            }
        });
        watch.start();
        QTimer giveUp; // the box never came
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        giveUp.start(10000);
        QTest::mouseClick(window->findChild<QPushButton*>(opCase.button), Qt::LeftButton);
        QVERIFY(window->runner().busy());
        QCOMPARE(QCoreApplication::exec(), 0);
        watch.stop();
        QVERIFY(seen);

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
