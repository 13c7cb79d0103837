// The main window offscreen: caption, start-up notice, lists, tabs, and the General page's
// buttons pressed for real against the simulated display, with one operation at a time.
#include "gui/main_window.h"
#include "gui/simulated_display_window.h"
#include "gui/traffic_view.h"
#include "operations/general_record.h"
#include "protocol/crc16.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kSetupRequest(20, '\x02');

// Records like ScriptedDialogs, but holds the operation inside its success box until released,
// so a test can act while an operation is under way.
class HoldingDialogs : public ScriptedDialogs
{
public:
    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        ScriptedDialogs::message(icon, title, text, detail);
        if (title == QLatin1String("Port Status") && icon == NoIcon) {
            entered.release();
            release.acquire();
        }
    }
    QSemaphore entered;
    QSemaphore release;
};

// The start-up notice stays among the messages: the caption and start-up tests read it.
WindowOptions KeepingTheNotice(ScriptedDialogs* dialogs, const QString& storedTitle)
{
    WindowOptions options;
    options.dialogs = dialogs;
    options.storedTitle = storedTitle;
    options.keepNotice = true;
    return options;
}

struct Window : WindowFixture
{
    explicit Window(ScriptedDialogs* dialogs = nullptr, const QString& storedTitle = {})
        : WindowFixture(-1, KeepingTheNotice(dialogs, storedTitle))
    {
    }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    QPushButton* button(const char* name) const { return find(name); }
    QStringList messagesAfterNotice() const { return dialogs.messages().mid(1); }
};

QByteArray RecordWrite(const QByteArray& record)
{
    return kSetupRequest + QByteArray::fromHex("1F4652") + QByteArray::fromHex("1F464E") + crc16(record) +
           QByteArray("\x40") + record;
}

const QByteArray kWriteConfirmation = QByteArray("\x0C") + "** Flash Write OK **" + "**Display Restart **" +
                                      QByteArray::fromHex("1F46521F4640");

} // namespace

class FormMainTest : public QObject
{
    Q_OBJECT

private slots:
    void caption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("caption");
        QTest::newRow("nothing stored") << QString() << "Talvex Display Utility Ver.1.10";
        QTest::newRow("empty value") << ""
                                     << "Talvex Display Utility Ver.1.10";
        QTest::newRow("stored title") << "Kestrel Service"
                                      << "Kestrel Service Ver.1.10";
    }
    void caption()
    {
        QFETCH(QString, stored);
        QFETCH(QString, caption);
        Window w(nullptr, stored);
        QCOMPARE(w.window->windowTitle(), caption);
    }

    void startUp()
    {
        Window w;
        // The notice comes first, before anything else can happen.
        const QList<ScriptedDialogs::Shown> shown = w.dialogs.shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, QString("Notice!!"));
        QCOMPARE(shown.first().icon, Dialogs::Exclamation);
        QCOMPARE(shown.first().text, QString("Flash re-programming is highly host resource dependent,\r\n"
                                             "any multi-task activity including Audio/Video playback\r\n"
                                             "or Ethernet-transmission may increase the risk of failure."));
        QComboBox* ports = w.combo("CmbCOM");
        QCOMPARE(ports->itemText(0), QString("COM1"));
        QCOMPARE(ports->itemText(38), QString("COM39"));
        QVERIFY(!ports->itemText(39).startsWith("COM") || ports->itemText(39) == "sim");
        QCOMPARE(ports->itemText(ports->count() - 1), QString("sim"));
        QVERIFY(ports->isEditable());
        QCOMPARE(w.combo("CmbBaudRate")->currentText(), QString("9600"));
        QCOMPARE(w.combo("CmbComFormat")->currentText(), QString("N,8,1"));
        QCOMPARE(w.combo("CmbCodePageSelect")->currentText(), QString("Europe"));
        QCOMPARE(w.combo("CmbBrightnessSelect")->currentText(), QString("100%"));
        QVERIFY(w.display.wire().isEmpty());
    }

    void freshWindowShowsCom1()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
        MainWindow window(DeviceServices{&pacer, &dialogs, &display, {}}, &settings);
        window.load();
        QCOMPARE(window.findChild<QComboBox*>("CmbCOM")->currentText(), QString("COM1"));
        QCOMPARE(window.selection().line.toText(), QString("9600,N,8,1"));
    }

    void tabsShowOnePage_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("factoryOpenedFirst");
        QTest::newRow("General") << 0 << false;
        QTest::newRow("F/W Update") << 1 << false;
        QTest::newRow("Title Set") << 2 << false;
        // The tab that was current when the factory page came up must bring its page back.
        QTest::newRow("F/W Update, current before the factory page") << 1 << true;
        QTest::newRow("Factory, once opened") << 3 << true;
    }
    void tabsShowOnePage()
    {
        QFETCH(int, tab);
        QFETCH(bool, factoryOpenedFirst);
        Window w;
        auto* tabs = w.window->findChild<QTabBar*>("tabMain");
        const auto pageShown = [&](int shown) {
            for (int page = 1; page <= 4; ++page)
                if (w.window->findChild<QWidget*>(QString("frmMain%1").arg(page))->isVisible() !=
                    (page == shown))
                    return false;
            return true;
        };
        QCOMPARE(tabs->count(), 3); // the factory page has no tab of its own until it is opened
        if (factoryOpenedFirst) {
            w.showTab(tab % 3);
            w.window->showFactoryPage();
            QCOMPARE(tabs->count(), 4);
            QCOMPARE(tabs->tabText(3), QString("Factory"));
            QCOMPARE(tabs->currentIndex(), 3);
            QVERIFY(pageShown(4));
        }
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QCOMPARE(tabs->currentIndex(), tab);
        QVERIFY(w.window->findChild<QWidget*>("frmMain0")->isVisible());
        QVERIFY(pageShown(tab + 1));
        w.window->showFactoryPage(); // opened again and again, it keeps one tab
        w.window->showFactoryPage();
        QCOMPARE(tabs->count(), 4);
    }

    void simulatedDisplayWindowFollowsThePortChoice()
    {
        Window w; // "sim" chosen
        QWidget* display = w.window->simulatedDisplayWindow();
        QVERIFY(display && display->isVisible());
        w.combo("CmbCOM")->setCurrentText("COM2");
        QVERIFY(!display->isVisible());
        w.combo("CmbCOM")->setCurrentText("sim");
        QVERIFY(display->isVisible());
        QVERIFY(w.display.writes().isEmpty());
    }

    void pickingAListOnlyChangesTheSelection()
    {
        Window w;
        w.combo("CmbBaudRate")->setCurrentText("115200");
        w.combo("CmbComFormat")->setCurrentText("E,7,1");
        QCOMPARE(w.window->selection().line.toText(), QString("115200,E,7,1"));
        QVERIFY(w.display.writes().isEmpty());
        QVERIFY(!w.display.isOpen());
    }

    void writeDefaults()
    {
        Window w;
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        const QByteArray record = generalParameterRecord({});
        QCOMPARE(w.display.wire().toHex(' '), (RecordWrite(record) + kWriteConfirmation).toHex(' '));
        QCOMPARE(w.messagesAfterNotice(),
                 QStringList{"Port Status: Flash Write OK !!\r\nDisplay will restart !!"});
        QCOMPARE(w.display.flash().generalRecord, record);
        QVERIFY(!w.display.isOpen());
        QVERIFY(w.button("ComRegTalvex")->isEnabled());
    }

    void writeChosenParametersThenSetToDefault()
    {
        Window w;
        w.combo("CmbBaudRateSelect")->setCurrentText("115200");
        w.combo("CmbComFormatSelect")->setCurrentText("O,7,1");
        w.combo("CmbCommandSelect")->setCurrentText("BA63");
        w.combo("CmbCodePageSelect")->setCurrentText("WPC1257");
        w.combo("CmbICSSelect")->setCurrentText("Denmark2");
        QComboBox* brightness = w.combo("CmbBrightnessSelect");
        brightness->setCurrentIndex(3);
        emit brightness->activated(3); // what a pick by the person raises
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        QCOMPARE(w.display.flash().generalRecord.mid(6, 12), QByteArray::fromHex("FF0A0A41040501FFFFFFFFFF"));

        // "Set to Default" sends nothing; the next write stores the defaults. The display now
        // listens at 115200,O,7,1, so the window's own port settings follow it.
        const int before = w.display.writes().size();
        QTest::mouseClick(w.button("CmdSetDefault"), Qt::LeftButton);
        QCOMPARE(w.display.writes().size(), before);
        w.combo("CmbBaudRate")->setCurrentText("115200");
        w.combo("CmbComFormat")->setCurrentText("O,7,1");
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        QCOMPARE(w.display.flash().generalRecord, generalParameterRecord({}));
    }

    // A write stores the brightness the person last picked, whatever its list shows now.
    void brightnessComesFromTheLastPick_data()
    {
        QTest::addColumn<int>("picked"); // the item picked, -1 for none
        QTest::addColumn<int>("shown");  // the item the list shows at the write
        QTest::addColumn<int>("code");
        QTest::newRow("never picked: 100%") << -1 << 3 << 0x00;
        QTest::newRow("picked 25%") << 3 << 3 << 0x01;
        QTest::newRow("picked 75%, shows 50%") << 1 << 2 << 0x03;
    }
    void brightnessComesFromTheLastPick()
    {
        QFETCH(int, picked);
        QFETCH(int, shown);
        QFETCH(int, code);
        Window w;
        QComboBox* brightness = w.combo("CmbBrightnessSelect");
        if (picked >= 0) {
            brightness->setCurrentIndex(picked);
            emit brightness->activated(picked);
        }
        brightness->setCurrentIndex(shown);
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        QCOMPARE(int(quint8(w.display.flash().generalRecord.at(12))), code);
    }

    void erase()
    {
        Window w;
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        const int before = w.display.wire().size();
        QVERIFY(w.clickAndWait("ComCancelReg"));
        const QByteArray expected = kSetupRequest + QByteArray::fromHex("1F46521F464E00000000") + "\x0C" +
                                    "** Flash Erase OK **" + "**Display Restart **" +
                                    QByteArray::fromHex("1F46521F4640");
        QCOMPARE(w.display.wire().mid(before).toHex(' '), expected.toHex(' '));
        QVERIFY(w.display.flash().generalRecord.isEmpty());
        QCOMPARE(w.messagesAfterNotice().last(),
                 QString("Port Status: Flash Erase OK !!\r\nDisplay will restart !!"));
    }

    void failedAcknowledgementLeavesWriteEnabledAndNoStatusBox()
    {
        Window w;
        SimulatedDisplay::Faults faults;
        faults.acknowledgeFirst = 1; // the setup request only
        w.display.setFaults(faults);
        QVERIFY(w.clickAndWait("ComRegTalvex"));
        const QStringList messages = w.messagesAfterNotice();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith("Display ack. failed: Process.3( "));
        QVERIFY(w.button("ComRegTalvex")->isEnabled());
        QVERIFY(!w.display.isOpen());
        QVERIFY(
            w.display.wire().endsWith(QByteArray("\x0C") + "Flash Write NAK  ???" + "Please Try Again ???"));
        QVERIFY(!w.display.wire().contains(QByteArray::fromHex("1F4640")));
    }

    void oneOperationAtATime()
    {
        HoldingDialogs dialogs;
        Window w(&dialogs);
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        QTest::mouseClick(w.button("ComRegTalvex"), Qt::LeftButton);
        QVERIFY(dialogs.entered.tryAcquire(1, 10000)); // inside the success box
        const int written = w.display.writes().size();
        // Every device button is locked; the rest of the window still answers.
        QVERIFY(!w.button("ComRegTalvex")->isEnabled());
        QVERIFY(!w.button("ComCancelReg")->isEnabled());
        QTest::mouseClick(w.button("ComCancelReg"), Qt::LeftButton);
        QVERIFY(
            !w.window->runner().run(w.window->selection(), [](DisplayAccess&) { return Outcome::passed(); }));
        w.combo("CmbBaudRate")->setCurrentText("19200");
        QCOMPARE(w.window->selection().line.baud, 19200);
        QCOMPARE(w.display.writes().size(), written);
        dialogs.release.release();
        QVERIFY(done.wait(10000));
        QVERIFY(w.button("ComRegTalvex")->isEnabled());
        QVERIFY(w.button("ComCancelReg")->isEnabled());
        QCOMPARE(done.size(), 1);
        QVERIFY(w.display.wire().endsWith(QByteArray::fromHex("1F46521F4640")));
    }

    void trafficPaneShowsEveryWriteAndDsrChange()
    {
        Window w;
        auto* pane = w.window->findChild<TrafficView*>("trafficView");
        QVERIFY(!pane->isVisible());
        QTest::mouseClick(w.button("trafficToggle"), Qt::LeftButton);
        QVERIFY(pane->isVisible());
        QVERIFY(w.clickAndWait("ComCancelReg"));
        pane->refresh();
        const QStringList lines = pane->text().split('\n');
        const auto index = [&](const QString& needle) {
            for (int i = 0; i < lines.size(); ++i)
                if (lines.at(i).contains(needle))
                    return i;
            return -1;
        };
        // In order: open, settings, the setup request, the pulse, the rate switch, the erase frame.
        const int request = index("20 bytes  02 02 02");
        const int low = index("DSR       low");
        const int rate = index("settings  115200,N,8,1");
        const int erase = index("4 bytes  00 00 00 00");
        QVERIFY(index("settings  9600,N,8,1") < index("open      sim"));
        QVERIFY(request > 0 && low > request && rate > low && erase > rate);
        QVERIFY(lines.last().contains("close     sim"));
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  ").match(lines.first()).hasMatch());

        const QString path = w.dir.filePath("traffic.txt");
        w.dialogs.scriptFile(path);
        QTest::mouseClick(w.window->findChild<QPushButton*>("trafficSave"), Qt::LeftButton);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), pane->text() + "\n");

        w.dialogs.scriptFile(w.dir.filePath("no/such/folder/t.txt"));
        QTest::mouseClick(w.window->findChild<QPushButton*>("trafficSave"), Qt::LeftButton);
        QVERIFY(w.dialogs.messages().last().startsWith("File Error: Cannot write"));

        QTest::mouseClick(w.window->findChild<QPushButton*>("trafficClear"), Qt::LeftButton);
        QCOMPARE(pane->text(), QString());
    }

    void closingDuringAnOperationStopsItAndSendsNothingMore()
    {
        HoldingDialogs dialogs;
        Window w(&dialogs);
        QSignalSpy done(&w.window->runner(), &OperationRunner::operationFinished);
        QTest::mouseClick(w.button("ComRegTalvex"), Qt::LeftButton);
        QVERIFY(dialogs.entered.tryAcquire(1, 10000));
        const QByteArray before = w.display.wire();
        QVERIFY(!w.window->close()); // refused for now: the operation must stop first
        dialogs.release.release();
        QVERIFY(done.wait(10000));
        QTRY_VERIFY(!w.window->isVisible());
        QCOMPARE(w.display.wire(), before); // no "FR", no "F@"
        QVERIFY(!w.display.isOpen());
    }
};

QTEST_MAIN(FormMainTest)
#include "test_main_window.moc"
