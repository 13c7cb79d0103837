// The main window offscreen on the simulated display. Each device control yields its operation's
// transcript (the bytes are pinned by the operations' golden transcripts, not again here); then what
// only the window does: caption, notice, lists (the port list's entries), tabs, the pages' boxes and
// buttons, the traffic pane. Cancelling, closing and quitting while an operation runs:
// test_running_operation.
#include "core/port_name.h"
#include "setup/gui/port_list.h"
#include "setup/gui/simulated_display_window.h"
#include "setup/gui/traffic_view.h"
#include "setup/tests/operation_cases.h"
#include "setup/tests/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <algorithm>

namespace {

using SystemPorts = QList<QPair<QString, QString>>;

QString text(const WindowFixture& w, const char* name)
{
    return w.find<QLineEdit>(name)->text();
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void controlYieldsItsOperation_data()
    {
        QTest::addColumn<int>("op");
        for (const OpCase& op : kOps)
            QTest::newRow(op.name) << int(op.op);
    }
    // Each control runs its operation, as the operation alone would, with every device button
    // locked while it runs (no second operation starts) and back afterwards.
    void controlYieldsItsOperation()
    {
        QFETCH(int, op);
        const OpCase& opCase = kOps[op];
        Bench bench;
        prepareDisplay(opCase.op, bench.display);
        presentOp(opCase.op, bench.access, opInputFile(opCase.op, bench.dir));

        WindowFixture w(2);
        prepareDisplay(opCase.op, w.display);
        w.choose("Command1", opInputFile(Op::DemoWrite, w.dir)); // every button allowed
        w.showTab(1);
        w.choose("ComOpenFile_0", opInputFile(Op::FirmwareOnline, w.dir));
        w.find<QCheckBox>("chkOverwrite")->setChecked(opCase.op == Op::FirmwareForced);
        w.find<QLineEdit>("Text1_1")->setText("Fresh bread");
        w.find<QLineEdit>("Text2_1")->setText("daily");
        w.dialogs.clear();
        const char* const deviceButtons[] = {"ComRegTalvex", "ComCancelReg",   "ComOpenFile_0",
                                             "ComDownLoad",  "ComCoverPage_1", "ComCancelCoverPage_0",
                                             "cmbWriteDEMO", "cmbEraseDEMO",   "ComFatWrtie"};
        const auto enabled = [&] {
            QString states;
            for (const char* name : deviceButtons)
                states += w.find(name)->isEnabled() ? '1' : '0';
            return states;
        };
        QCOMPARE(enabled(), QString("111111111"));
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        if (opCase.tab < 0)
            w.window->showFactoryPage();
        else
            w.showTab(opCase.tab);
        if (opCase.button)
            QTest::mouseClick(w.find(opCase.button), Qt::LeftButton);
        else
            w.find<QSlider>("Slider1")->setValue(200);
        QCOMPARE(enabled(), QString("000000000"));
        w.find<QComboBox>("CmbBaudRate")->setCurrentText("19200"); // the rest of the window answers
        QCOMPARE(w.window->selection().line.baud, 19200);
        QVERIFY(
            !w.window->runner().run(w.window->selection(), [](DisplayAccess&) { return Outcome::passed(); }));
        QVERIFY(done.wait(10000));
        QCOMPARE(enabled(), QString("111111111"));
        QCOMPARE(transcript(w.display, w.dialogs), bench.transcript());
        QVERIFY(!w.display.isOpen());
    }

    void startUp()
    {
        WindowFixture w;
        // The caption: the stored title, the default one when none or an empty one is stored.
        QCOMPARE(w.window->windowTitle(), QString("Talvex Display Utility Ver.1.10"));
        QCOMPARE(WindowFixture(-1, nullptr, "").window->windowTitle(),
                 QString("Talvex Display Utility Ver.1.10"));
        QCOMPARE(WindowFixture(-1, nullptr, "Kestrel Service").window->windowTitle(),
                 QString("Kestrel Service Ver.1.10"));
        QCOMPARE(boxText(w.notice.value(0)),
                 QString("box (!) Notice!!: Flash re-programming is highly host resource dependent, / any "
                         "multi-task activity including Audio/Video playback / or Ethernet-transmission may "
                         "increase the risk of failure."));
        auto* ports = w.find<QComboBox>("CmbCOM");
        QCOMPARE(ports->itemText(0), QString("COM1"));
        QCOMPARE(ports->itemText(38), QString("COM39"));
        QVERIFY(ports->isEditable());
        QCOMPARE(w.find<QComboBox>("CmbBaudRate")->currentText(), QString("9600"));
        QCOMPARE(w.find<QComboBox>("CmbComFormat")->currentText(), QString("N,8,1"));
        w.find<QComboBox>("CmbBaudRate")->setCurrentText("115200");
        w.find<QComboBox>("CmbComFormat")->setCurrentText("E,7,1");
        QCOMPARE(w.window->selection().line.toText(), QString("115200,E,7,1"));
        // The simulated display's window shows while "sim" is chosen.
        QVERIFY(w.window->simulatedDisplayWindow()->isVisible());
        ports->setCurrentText("COM2");
        QVERIFY(!w.window->simulatedDisplayWindow()->isVisible());
        QCOMPARE(w.window->selection().port, QString("COM2"));
        QVERIFY(w.display.writes().isEmpty());
    }

    // The port list's entries as "text|beside|tooltip", bare COM entries left out; "COMn" stands for the
    // system's name of that port.
    void oneEntryPerPort_data()
    {
        QTest::addColumn<SystemPorts>("reported");
        QTest::addColumn<QString>("entries");
        const auto com = [](const char* name) { return *systemPortName(name); };
        QTest::newRow("none") << SystemPorts{} << "";
        QTest::newRow("COM ports") << SystemPorts{{com("COM1"), ""}, {com("COM39"), "16550A"}}
                                   << "COM1|" + com("COM1") + "| ; COM39|" + com("COM39") + "|16550A";
        QTest::newRow("past COM39") << SystemPorts{{com("COM40"), ""}} << com("COM40") + "||";
        QTest::newRow("adapter") << SystemPorts{{"/dev/ttyUSB0", "FT232R USB UART"}}
                                 << "/dev/ttyUSB0||FT232R USB UART";
    }
    void oneEntryPerPort()
    {
        QFETCH(SystemPorts, reported);
        QFETCH(QString, entries);
        QStringList seen;
        for (const PortListEntry& entry : portListEntries(reported))
            if (!entry.text.startsWith("COM") || !entry.beside.isEmpty())
                seen << entry.text + "|" + entry.beside + "|" + entry.tooltip;
        QCOMPARE(seen.join(" ; "),
                 (entries.isEmpty() ? QString() : entries + " ; ") + "sim||simulated VQ71xx display");
    }

    // One page shows at a time; the factory page gets a tab only once Ctrl+Shift+F has opened it,
    // and the tab current before it brings its own page back. The window takes the size of the page
    // shown, shrinking again after a larger one, until the person sizes it by hand.
    void tabsShowOnePage()
    {
        WindowFixture w;
        auto* tabs = w.find<QTabBar>("tabMain");
        QStringList seen;
        QList<QSize> sizes{w.window->size()};
        const auto click = [&](int tab) {
            if (tab >= 0)
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            QStringList shown;
            for (int page = 1; page <= 4; ++page)
                if (w.window->findChild<QWidget*>(QString("frmMain%1").arg(page))->isVisible())
                    shown << QString::number(page);
            seen << QString("%1 tabs, page %2").arg(tabs->count()).arg(shown.join(','));
            sizes << w.window->size();
        };
        for (int tab : {1, 2, 0, 1})
            click(tab);
        QCOMPARE(sizes.mid(3, 2), sizes.mid(0, 2)); // General and F/W Update again
        const QSize byHand = sizes[1].expandedTo(sizes[0]) + QSize(90, 60);
        w.window->resize(byHand);
        w.showTab(0);
        QCOMPARE(w.window->size(), byHand);
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        click(-1);
        click(1);
        w.window->showFactoryPage();
        w.window->showFactoryPage();
        click(-1);
        QCOMPARE(seen.join(" | "),
                 QString("3 tabs, page 2 | 3 tabs, page 3 | 3 tabs, page 1 | 3 tabs, page 2 | "
                         "4 tabs, page 4 | 4 tabs, page 2 | 4 tabs, page 4"));
        QCOMPARE(tabs->tabText(3), QString("Factory"));
    }

    // The record is built from the lists at "Write"; the brightness from the person's last pick.
    void generalPageParameters_data()
    {
        QTest::addColumn<QStringList>("picks"); // baud, format, command set, code page, charset
        QTest::addColumn<int>("picked");        // the brightness item picked, -1 for none
        QTest::addColumn<int>("shown");         // the brightness item the list shows at the write
        QTest::addColumn<bool>("setToDefault");
        QTest::addColumn<QByteArray>("codes");
        const QStringList changed{"115200", "O,7,1", "BA63", "WPC1257", "Denmark2"};
        QTest::newRow("every list changed")
            << changed << 3 << 3 << false << QByteArray::fromHex("FF0A0A41040501FFFFFFFFFF");
        QTest::newRow("never picked: 100%")
            << QStringList{} << -1 << 3 << false << QByteArray::fromHex("FF0100FF010000FFFFFFFFFF");
        QTest::newRow("picked 75%, shows 50%")
            << QStringList{} << 1 << 2 << false << QByteArray::fromHex("FF0100FF010003FFFFFFFFFF");
        QTest::newRow("then Set to Default")
            << changed << 3 << 3 << true << QByteArray::fromHex("FF0100FF010000FFFFFFFFFF");
    }
    void generalPageParameters()
    {
        QFETCH(QStringList, picks);
        QFETCH(int, picked);
        QFETCH(int, shown);
        QFETCH(bool, setToDefault);
        QFETCH(QByteArray, codes);
        WindowFixture w(0);
        const char* const lists[] = {"CmbBaudRateSelect", "CmbComFormatSelect", "CmbCommandSelect",
                                     "CmbCodePageSelect", "CmbICSSelect"};
        for (qsizetype i = 0; i < picks.size(); ++i)
            w.find<QComboBox>(lists[i])->setCurrentText(picks.at(i));
        auto* brightness = w.find<QComboBox>("CmbBrightnessSelect");
        if (picked >= 0) {
            brightness->setCurrentIndex(picked);
            emit brightness->activated(picked); // what a pick by the person raises
        }
        brightness->setCurrentIndex(shown);
        if (setToDefault)
            QTest::mouseClick(w.find("CmdSetDefault"), Qt::LeftButton);
        QVERIFY(w.display.writes().isEmpty());
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        QCOMPARE(w.display.flash().generalRecord.mid(6, 12).toHex(' '), codes.toHex(' '));
    }

    void trafficPaneShowsEveryWriteAndDsrChange()
    {
        WindowFixture w(0);
        auto* pane = w.window->findChild<TrafficView*>("trafficView");
        QVERIFY(!pane->isVisible());
        QTest::mouseClick(w.find("trafficToggle"), Qt::LeftButton);
        QVERIFY(pane->isVisible());
        QVERIFY(w.clickAndWait("ComCancelReg"));
        pane->refresh();
        // In order, each line after its time of day: the settings, the open, the setup request, the
        // pulse, the rate switch, the erase frame, the close.
        static const QRegularExpression kOrder(
            "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  settings  9600,N,8,1\n.*  "
            "open      sim\n.*  write     20 bytes  02 02 "
            "02.*  DSR       low\n.*  settings  115200,N,8,1\n.*  write    "
            " 4 bytes  00 00 00 00.*  close     sim$",
            QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(kOrder.match(pane->text()).hasMatch(), qPrintable(pane->text()));

        w.dialogs.scriptFile(w.dir.filePath("traffic.txt"));
        QTest::mouseClick(w.find("trafficSave"), Qt::LeftButton);
        QFile saved(w.dir.filePath("traffic.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly | QIODevice::Text)); // a text file of the platform's own
        QCOMPARE(QString::fromUtf8(saved.readAll()), pane->text() + "\n");
        w.dialogs.scriptFile(w.dir.filePath("no/such/folder/t.txt"));
        QTest::mouseClick(w.find("trafficSave"), Qt::LeftButton);
        QVERIFY(w.dialogs.messages().last().startsWith("File Error: Cannot write"));
        QTest::mouseClick(w.find("trafficClear"), Qt::LeftButton);
        QCOMPARE(pane->text(), QString());
    }

    // The title boxes hold 20 characters; "File Input" fills the boxes with the lines it read.
    void titleBoxes()
    {
        WindowFixture w(2);
        QCOMPARE(text(w, "Text1_1"), QString("***  User Define ***"));
        QCOMPARE(text(w, "Text2_1"), QString("***  Cover Page  ***"));
        w.find<QLineEdit>("Text1_1")->clear();
        QTest::keyClicks(w.find<QLineEdit>("Text1_1"), "Welcome to the shop!!");
        QCOMPARE(text(w, "Text1_1"), QString("Welcome to the shop!"));
        // A file with one line: that line goes in, the second box keeps its text, the box tells.
        w.choose("ComOpenFile_1", w.file("one.txt", "Only\n"));
        QCOMPARE(text(w, "Text1_1"), QString("Only"));
        QCOMPARE(text(w, "Text2_1"), QString("***  Cover Page  ***"));
        QCOMPARE(w.dialogs.messages(), QStringList{"File Error: Open File Error !!"});
        w.choose("ComOpenFile_1", w.file("two.txt", "Upper\r\nLower\r\n"));
        QCOMPARE(text(w, "Text2_1"), QString("Lower")); // "File Input" is back after the first read
        QVERIFY(w.display.writes().isEmpty());          // reading a file sends nothing
        // A fixed-width face, where the system has one of those the boxes ask for.
        const QFont boxFont = w.find<QLineEdit>("Text1_1")->font();
        const QStringList faces = QFontDatabase::families(), wanted = boxFont.families();
        if (std::none_of(wanted.begin(), wanted.end(),
                         [&](const QString& face) { return faces.contains(face); }))
            QSKIP("this system has none of the fixed-width faces the title boxes ask for");
        QVERIFY(QFontInfo(boxFont).fixedPitch());
    }

    // The DEMO box shows the chosen name; "Write" is enabled exactly while that file exists.
    void demoFileBox()
    {
        WindowFixture w(2);
        QVERIFY(!w.find("cmbWriteDEMO")->isEnabled());         // no file chosen yet
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton); // cancelled, no name ever chosen
        QCOMPARE(w.dialogs.messages(), QStringList{"File Ststus: InValid File!"});
        const QString good = w.file("shop.dem", demoBytes(100));
        w.choose("Command1", good);
        QCOMPARE(text(w, "txtDEMOFile"), QString("shop.dem"));
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());
        w.dialogs.clear();
        QTest::mouseClick(w.find("Command1"), Qt::LeftButton); // cancelled: the last name again
        QVERIFY(w.dialogs.messages().isEmpty());
        QVERIFY(w.find("cmbWriteDEMO")->isEnabled());
        w.choose("Command1", w.file("bad.dem", QByteArray::fromHex("4D5A900003000000")));
        QVERIFY(text(w, "txtDEMOFile").isEmpty());
        QVERIFY(!w.find("cmbWriteDEMO")->isEnabled()); // its box: test_input_checks
        w.choose("Command1", good);
        QVERIFY(QFile::remove(good));
        w.choose("Command1", good); // the same name, but the file has gone
        QVERIFY(!w.find("cmbWriteDEMO")->isEnabled());
    }

    // The firmware box shows what the file check shows ("???" for a refused name: test_input_checks)
    // and nothing typed; "DownLoad" follows the box and refuses without a valid file; the image held
    // at the choice is flashed (the progress shown: test_running_operation).
    void firmwareFileBox()
    {
        WindowFixture w(1);
        auto* box = w.find<QLineEdit>("Text1_0");
        auto* download = w.find("ComDownLoad");
        QVERIFY(!download->isEnabled());
        const QString path = w.file("fw_vq7146_v12.wfu", wfuFile(kFirmwareImage));
        w.choose("ComOpenFile_0", path);
        QCOMPARE(box->text(), path.toUpper());
        QVERIFY(download->isEnabled());
        box->selectAll();
        QTest::keyClicks(box, w.file("vq7146_b.wfu", wfuFile(kFirmwareImage.left(512))));
        QCOMPARE(box->text(), path.toUpper()); // DownLoad would flash another file than it names
        w.choose("ComOpenFile_0", path + ".missing");
        QVERIFY(!download->isEnabled());
        QVERIFY(QDir(w.dir.path()).mkdir("vq7146_dir.wfu")); // a folder counts as existing
        w.choose("ComOpenFile_0", w.dir.filePath("vq7146_dir.wfu"));
        QVERIFY(download->isEnabled());
        w.choose("ComOpenFile_0",
                 w.file("vq7146.wfu", QByteArray("123456789") + QByteArray::fromHex("4B37")));
        QVERIFY(download->isEnabled());
        QVERIFY(!w.clickAndWait("ComDownLoad"));
        QCOMPARE(w.dialogs.messages().last(), QString("File Ststus: File Error, Please Try Again !!"));
        QVERIFY(w.display.writes().isEmpty());

        w.choose("ComOpenFile_0", path);
        QVERIFY(QFile::remove(path));
        auto* force = w.find<QCheckBox>("chkOverwrite");
        QTest::mouseClick(force, Qt::LeftButton, {}, QPoint(8, force->height() / 2));
        QCOMPARE(force->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        force->setChecked(false);
        QCOMPARE(force->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QVERIFY(w.clickAndWait("ComDownLoad"));
        QCOMPARE(w.display.flash().firmware, kFirmwareImage);
    }

    void sliderMovesDuringACycleAreCoalesced()
    {
        WindowFixture w;
        w.window->showFactoryPage();
        QCOMPARE(w.find<QLabel>("Label4")->text(),
                 QString::fromUtf8("PS: 此調整需在 Epson           指令下設定。"));
        auto* slider = w.find<QSlider>("Slider1");
        QCOMPARE(slider->maximum(), 255);
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        slider->setValue(10); // starts a cycle; the runner stays busy until the event loop runs
        QVERIFY(w.window->runner().busy());
        slider->setValue(20);
        slider->setValue(40);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 10000);
        QTest::qWait(50); // no third cycle follows
        QCOMPARE(done.count(), 2);
        QCOMPARE(w.display.wire().count(QByteArray::fromHex("1F46620D")), 2);
        QCOMPARE(w.display.liveBalance(), 40);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
