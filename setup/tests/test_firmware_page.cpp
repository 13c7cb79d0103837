// The "Firmware Update" frame in the main window, offscreen, with real clicks against the simulated
// display: choosing a file, "DownLoad" following the file box, the refusal without a valid file,
// a whole update with the progress label and every device button locked meanwhile.
#include "firmware_test_support.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace firmware_test;

namespace {

struct Window : WindowFixture
{
    Window() : WindowFixture(1) {}
    void chooseFile(const QString& path) { choose("ComOpenFile_0", path); }
    // Every push button of the window that starts a device operation.
    QList<QPushButton*> deviceButtons() const
    {
        QList<QPushButton*> buttons;
        for (const char* name : {"ComOpenFile_0", "ComDownLoad", "ComRegTalvex", "ComCancelReg"})
            buttons << find(name);
        return buttons;
    }
};

} // namespace

class FirmwarePageTest : public QObject
{
    Q_OBJECT

private slots:
    void frameAtStart()
    {
        Window w;
        QCOMPARE(w.find<QPushButton>("ComOpenFile_0")->text(), QString("Open File"));
        QCOMPARE(w.find<QPushButton>("ComDownLoad")->text(), QString("DownLoad"));
        QCOMPARE(w.find<QCheckBox>("chkOverwrite")->text(), QString("Force overwrite"));
        QCOMPARE(w.find<QLabel>("Label3_1")->text(), QString("0%"));
        QVERIFY(w.find<QLineEdit>("Text1_0")->text().isEmpty());
        QVERIFY(!w.find<QPushButton>("ComDownLoad")->isEnabled()); // an empty box names no file
        QVERIFY(w.find<QPushButton>("ComOpenFile_0")->isEnabled());
    }

    void forceOverwriteIsRedWhenChecked()
    {
        Window w;
        auto* box = w.find<QCheckBox>("chkOverwrite");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QVERIFY(box->isChecked());
        QCOMPARE(box->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(box->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    }

    // The box shows the chosen path in upper case, yet "DownLoad" is enabled for the lower-case file;
    // typed by hand, the text itself is tested.
    void downloadFollowsTheFileBox()
    {
        Window w;
        const QString path = w.file("fw_vq7146_v12.wfu", WfuFile(Pattern(100)));
        w.chooseFile(path);
        auto* box = w.find<QLineEdit>("Text1_0");
        auto* download = w.find<QPushButton>("ComDownLoad");
        QCOMPARE(box->text(), path.toUpper());
        QVERIFY(w.dialogs.messages().isEmpty());
        QVERIFY(download->isEnabled());
        box->setText(path + ".missing");
        QVERIFY(!download->isEnabled());
        box->setText(w.dir.path()); // a folder counts as existing
        QVERIFY(download->isEnabled());
        box->setText(path.toUpper());
        QVERIFY(download->isEnabled());
    }

    void downloadWithoutValidFileSendsNothing()
    {
        Window w;
        // A file that exists (so "DownLoad" is enabled) but fails its CRC; any earlier valid file is void.
        w.chooseFile(w.file("vq7146.wfu", WfuFile(Pattern(100))));
        QVERIFY(w.dialogs.messages().isEmpty());
        QByteArray broken = WfuFile(Pattern(100));
        broken[0] = broken[0] ^ 1;
        w.chooseFile(w.file("vq7146_b.wfu", broken));
        QCOMPARE(w.dialogs.messages(), QStringList{"File Ststus: File CRC16 Check-Sum Error !!"});
        auto* download = w.find<QPushButton>("ComDownLoad");
        QVERIFY(download->isEnabled());
        QSignalSpy started(&w.window->runner(), &OperationRunner::operationFinished);
        QTest::mouseClick(download, Qt::LeftButton);
        QCOMPARE(w.dialogs.messages().last(), QString("File Ststus: File Error, Please Try Again !!"));
        QCOMPARE(w.dialogs.shown().last().icon, Dialogs::Critical);
        QVERIFY(!w.window->runner().busy());
        QVERIFY(!started.wait(100));
        QVERIFY(w.display.writes().isEmpty());
    }

    void refusedNameShowsQuestionMarks()
    {
        Window w;
        w.chooseFile(w.file("update.wfu", WfuFile(Pattern(100))));
        QCOMPARE(w.dialogs.messages(), QStringList{"File Ststus: File Type Error, Please Try Again !!"});
        QCOMPARE(w.find<QLineEdit>("Text1_0")->text(), QString("???"));
        QVERIFY(!w.find<QPushButton>("ComDownLoad")->isEnabled());
    }

    void downloadFlashesTheImage()
    {
        Window w;
        const QByteArray image = Pattern(3000);
        w.chooseFile(w.file("FW_VQ7146_V12.wfu", WfuFile(image)));
        QVERIFY(w.dialogs.messages().isEmpty());

        auto* label = w.find<QLabel>("Label3_1");
        auto* bar = w.find<QProgressBar>("ProgressBar1");
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        QTest::mouseClick(w.find<QPushButton>("ComDownLoad"), Qt::LeftButton);
        // The operation has started: every device button is off until it ends.
        QVERIFY(w.window->runner().busy());
        for (QPushButton* button : w.deviceButtons())
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(done.wait(10000));
        QCOMPARE(label->text(), QString("100%"));
        QCOMPARE(bar->maximum(), 6);
        QCOMPARE(bar->value(), 6);
        for (QPushButton* button : w.deviceButtons())
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QCOMPARE(w.display.flash().firmware, image);
        QCOMPARE(w.dialogs.messages().size(), 2); // the reminder and the success box
        QVERIFY(!w.display.isOpen());
    }
};

QTEST_MAIN(FirmwarePageTest)
#include "test_firmware_page.moc"
