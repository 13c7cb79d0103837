// The window's own file-open dialog, as each page opens it: every file shown by default, the page's
// file type offered second, and the folder of the last chosen file kept for the run.
#include "setup/gui/main_window.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/device_bench.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Clicks `button` and answers the boxes it brings up: the file dialog with `answer` (a cancel when
// empty), any message box with OK. Gives what the file dialog offered: "types / selected type / folder".
QString clickAndAnswer(QPushButton* button, const QString& answer = {})
{
    QString seen;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        // The dialog is looked for among the visible windows: it may not be the active one yet.
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QFileDialog*>(widget); shown && shown->isVisible())
                dialog = shown;
        if (dialog) {
            seen = QStringList{dialog->nameFilters().join(";;"), dialog->selectedNameFilter(),
                               dialog->directory().absolutePath()}
                       .join(" / ");
            if (answer.isEmpty())
                dialog->reject();
            else {
                dialog->selectFile(answer);
                static_cast<QDialog*>(dialog)->done(
                    QDialog::Accepted); // "Open" without its look at the folder
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click(); // as a person closes it: through its button
    });
    answering.start(20);
    button->click();
    return seen;
}

} // namespace

class FileDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // "button: the file types offered"; "All files (*)" is the one selected.
    void everyFileThenThePagesType_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("firmware") << "ComOpenFile_0: All files (*);;Firmware files (*.wfu)";
        QTest::newRow("title page") << "ComOpenFile_1: All files (*);;Text files (*.txt)";
        QTest::newRow("DEMO") << "Command1: All files (*)";
    }
    void everyFileThenThePagesType()
    {
        QFETCH(QString, row);
        QTemporaryDir dir;
        const QString firmware = dir.filePath("FW_VQ7146.wfu");
        QVERIFY(writeFile(firmware, wfuFile(imageBytes(100))));
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        QSettings settings(dir.filePath("store.ini"), QSettings::IniFormat);
        MainWindow window(DeviceServices{&pacer, nullptr, &display, {}}, &settings);
        // A file chosen on the firmware page sets the folder where every later dialog starts.
        clickAndAnswer(window.findChild<QPushButton*>("ComOpenFile_0"), firmware);
        QCOMPARE(clickAndAnswer(window.findChild<QPushButton*>(row.section(": ", 0, 0))),
                 row.section(": ", 1) + " / All files (*) / " + QDir(dir.path()).absolutePath());
    }
};

QTEST_MAIN(FileDialogsTest)
#include "test_file_dialogs.moc"
