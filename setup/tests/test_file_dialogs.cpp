// The window's own file-open dialog, as each page opens it: every file shown by default, the page's
// file type offered second, and the folder of the last chosen file kept for the run.
#include "device_bench.h"
#include "gui/main_window.h"
#include "sim/simulated_display.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct Seen
{
    QStringList types;
    QString selectedType;
    QString folder;
};

// Clicks `button` and answers the boxes it brings up: the file dialog with `answer` (a cancel when
// empty), any message box with OK. Gives what the file dialog offered.
Seen clickAndAnswer(QPushButton* button, const QString& answer = {})
{
    Seen seen;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        // The dialog is looked for among the visible windows: it may not be the active one yet.
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<QFileDialog*>(widget); shown && shown->isVisible())
                dialog = shown;
        if (dialog) {
            seen = {dialog->nameFilters(), dialog->selectedNameFilter(), dialog->directory().absolutePath()};
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
    void everyFileThenThePagesType_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("firmware") << "ComOpenFile_0"
                                  << QStringList{"All files (*)", "Firmware files (*.wfu)"};
        QTest::newRow("title page") << "ComOpenFile_1" << QStringList{"All files (*)", "Text files (*.txt)"};
        QTest::newRow("DEMO") << "Command1" << QStringList{"All files (*)"};
    }

    void everyFileThenThePagesType()
    {
        QFETCH(QString, button);
        QTemporaryDir dir;
        const QString firmware = dir.filePath("FW_VQ7146.wfu");
        QVERIFY(writeFile(firmware, wfuFile(imageBytes(100))));
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        QSettings settings(dir.filePath("store.ini"), QSettings::IniFormat);
        MainWindow window(DeviceServices{&pacer, nullptr, &display, {}}, &settings);
        // A file chosen on the firmware page sets the folder where every later dialog starts.
        clickAndAnswer(window.findChild<QPushButton*>("ComOpenFile_0"), firmware);

        const Seen seen = clickAndAnswer(window.findChild<QPushButton*>(button));
        QTEST(seen.types, "types");
        QCOMPARE(seen.selectedType, QString("All files (*)"));
        QCOMPARE(seen.folder, QDir(dir.path()).absolutePath());
    }
};

QTEST_MAIN(FileDialogsTest)
#include "test_file_dialogs.moc"
