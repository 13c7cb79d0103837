// The event loop ends (QCoreApplication::exit) while an operation of the window shows one of the
// boxes that do not look at the stop flag. The window must then be torn down within a second, with
// the port closed and nothing more sent: the boxes know the program is going down before anything
// waits for the operation's worker.
#include "firmware_test_support.h"
#include "gui/main_window.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"
#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace firmware_test;

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
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("fileButton");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("fileBytes");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("boxTitle");
        QTest::addColumn<QString>("boxText");

        const QByteArray wfu = WfuFile(Pattern(3000));
        QTest::newRow("firmware online: the mode reminder")
            << 1 << "ComOpenFile_0"
            << "FW_VQ7146_V12.wfu" << wfu << false << QString() << "ComDownLoad"
            << "Online F/W Upload."
            << "Firmware Update.";
        QTest::newRow("firmware forced: the mode reminder")
            << 1 << "ComOpenFile_0"
            << "FW_VQ7146_V12.wfu" << wfu << true << QString() << "ComDownLoad"
            << "Force Overwrite F/W."
            << "Firmware Update.";
        QTest::newRow("firmware: the success box before the restart")
            << 1 << "ComOpenFile_0"
            << "FW_VQ7146_V12.wfu" << wfu << false << QString() << "ComDownLoad"
            << "Port Status"
            << "Firmware Update Sucessfully.";
        QTest::newRow("DEMO: too large")
            << 2 << "Command1"
            << "big.dem" << QByteArray::fromHex("55AA5AA5") + QByteArray(69200, 'x') << false << QString()
            << "cmbWriteDEMO"
            << "File Ststus"
            << "DEMO File too large!";
        QTest::newRow("DEMO: a folder that cannot be read")
            << 2 << "Command1"
            << "folder.dem" << QByteArray() << false << QString() << "cmbWriteDEMO"
            << "File Error"
            << "Open File Error !!";
        QTest::newRow("title page: a character the display cannot show")
            << 2 << QString() << QString() << QByteArray() << false << QString::fromUtf8("\u4E2D")
            << "ComCoverPage_1"
            << "Title Page"
            << "The character";
    }

    void quitUnderABoxTearsDownAtOnce()
    {
        QFETCH(int, tab);
        QFETCH(QString, fileButton);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, fileBytes);
        QFETCH(bool, forced);
        QFETCH(QString, line1);
        QFETCH(QString, button);
        QFETCH(QString, boxTitle);
        QFETCH(QString, boxText);

        QTemporaryDir dir;
        QSettings settings(dir.filePath("store.ini"), QSettings::IniFormat);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        QWidget boxHost;
        GuiDialogs boxes(&boxHost);
        RealBoxDialogs dialogs(boxes);
        DeviceServices services;
        services.pacer = &pacer;
        services.dialogs = &dialogs;
        services.simulatedDisplay = &display;
        services.windowDialogs = &boxes;
        auto window = std::make_unique<MainWindow>(services, &settings);
        window->load();
        window->findChild<QComboBox*>("CmbCOM")->setCurrentText("sim");
        window->findChild<QTabBar*>("tabMain")->setCurrentIndex(tab);
        window->show();

        if (!fileButton.isEmpty()) {
            const QString path = dir.filePath(fileName);
            if (fileBytes.isEmpty())
                QVERIFY(QDir(dir.path()).mkdir(fileName));
            else
                QVERIFY(WriteFile(path, fileBytes));
            dialogs.scriptFile(path);
            QTest::mouseClick(window->findChild<QPushButton*>(fileButton), Qt::LeftButton);
        }
        if (forced)
            window->findChild<QCheckBox*>("chkOverwrite")->setChecked(true);
        if (!line1.isNull())
            window->findChild<QLineEdit*>("Text1_1")->setText(line1);

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
        QTest::mouseClick(window->findChild<QPushButton*>(qPrintable(button)), Qt::LeftButton);
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
