// The demonstrations driving the simulated display: the "Simulated display" choice of each port window,
// every kind of button clicked as a person would, and what the emulated screens show afterwards.
#include "demo_harness.h"
#include "sim/customer_display_emulator.h"
#include "sim/emulated_serial_port.h"
#include "sim/switching_serial_port.h"
#include "windows/escpos_demo_window.h"
#include "windows/mirror_grid.h"

#include "core/pacer.h"
#include "core/port_name.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

QString Row(const QString& text)
{
    return text.leftJustified(20, QLatin1Char(' '));
}

const QString Greeting1 = QStringLiteral("-WELCOME- TEST MODE-");
const QString Greeting2 = QStringLiteral("--YOU CAN CHANG ME--");

// A run whose ports reach the emulator when "Simulated display" is chosen and the recording line
// otherwise.
struct SimulatedRun
{
    // The emulator outlives the windows, whose ports let go of it as they close.
    VirtualPacer time;
    CustomerDisplayEmulator emulator{time};
    DemoHarness h{[this](DemoHarness& run) {
        return portsWithEmulator(emulator, run.context.state, std::make_unique<FakeSerialPort>(run.line));
    }};

    void reach(const char* launcherButton)
    {
        h.click(QString::fromLatin1(launcherButton));
        h.click(QStringLiteral("OptionSimulated"));
        h.click(QStringLiteral("Command1"));
    }
    void press(const char* button, const QStringList& replies = {})
    {
        for (const QString& reply : replies) {
            h.dialogs.replies.push_back(reply);
        }
        h.click(QString::fromLatin1(button));
    }
    Kd317Display& kd317() { return emulator.kd317(); }
    QStringList kd426Rows()
    {
        QStringList rows;
        for (int row = 0; row < Kd426Display::Rows; ++row) {
            rows.append(emulator.kd426().rowText(row));
        }
        return rows;
    }
};

} // namespace

class TestSimDemoButtons : public QObject
{
    Q_OBJECT
private slots:
    void simulatedChoiceOnEveryPortWindow_data();
    void simulatedChoiceOnEveryPortWindow();
    void kd317Buttons_data();
    void kd317Buttons();
    void verticalModeMovesRowTwoUp();
    void typingInHorizontalModeScrolls();
    void reverseLastsThePause();
    void codeTableWalk();
    void internationalSetSurvivesWindowChanges();
    void selfTestButton();
    void kd426Buttons_data();
    void kd426Buttons();
    void kd426ToPrinter();
    void kd138Buttons();
    void busyEmulatorKeepsThePortWindow();
    void emulatedPortFailures_data();
    void emulatedPortFailures();
    void malformedSettingsRefused();
};

void TestSimDemoButtons::simulatedChoiceOnEveryPortWindow_data()
{
    QTest::addColumn<QString>("launcherButton");
    QTest::addColumn<DemoModel>("model");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("held");
    QTest::newRow("KD-317") << "Command6" << DemoModel::KD317 << "ESC/poc command list" << true;
    QTest::newRow("KD-426") << "Command7" << DemoModel::KD426 << QString::fromUtf8("KD426-繁體") << false;
    QTest::newRow("KD-138") << "Command8" << DemoModel::KD138 << "KD138 DEMO" << false;
}

void TestSimDemoButtons::simulatedChoiceOnEveryPortWindow()
{
    QFETCH(QString, launcherButton);
    QFETCH(DemoModel, model);
    QFETCH(QString, title);
    QFETCH(bool, held);
    SimulatedRun run;
    run.reach(qPrintable(launcherButton));
    QCOMPARE(run.h.currentTitle(), title);
    QCOMPARE(run.h.context.state.portText(), QStringLiteral("sim"));
    QCOMPARE(run.emulator.model(), model);
    // The ESC/POS window holds its port; the other two open it only around a press.
    QCOMPARE(run.emulator.isConnected(), held);
    QVERIFY(run.h.dialogs.messages.isEmpty());
    QVERIFY(run.h.log.isEmpty());
    if (model == DemoModel::KD317) {
        QCOMPARE(run.kd317().rowText(0), Greeting1);
        QCOMPARE(run.kd317().rowText(1), Greeting2);
        QVERIFY(run.kd317().cursorOn());
    }
}

void TestSimDemoButtons::kd317Buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<QString>("row2");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("blink");
    QTest::addColumn<Kd317Display::WriteMode>("mode");

    const auto O = Kd317Display::WriteMode::Overwrite;
    const QStringList none;
    // After the greeting the overwrite cursor has wrapped to home.
    QTest::newRow("position row 2 column 5")
        << "Command9" << QStringList{"2", "5"} << Greeting1 << Greeting2 << 1 << 4 << 4 << 0 << O;
    QTest::newRow("clear") << "Command10" << none << ""
                           << "" << 0 << 0 << 4 << 0 << O;
    QTest::newRow("brightness 2.5") << "Command11" << QStringList{"2.5"} << Greeting1 << Greeting2 << 0 << 0
                                    << 2 << 0 << O;
    QTest::newRow("blink 10") << "Command12" << QStringList{"10"} << Greeting1 << Greeting2 << 0 << 0 << 4
                              << 10 << O;
    QTest::newRow("initialize") << "Command13" << none << ""
                                << "" << 0 << 0 << 4 << 0 << O;
    QTest::newRow("horizontal mode") << "Command19" << none << ""
                                     << "" << 0 << 0 << 4 << 0 << Kd317Display::WriteMode::HorizontalScroll;
    QTest::newRow("time 9:41") << "Command28" << QStringList{"9", "41"} << ""
                               << "               09:41" << 0 << 0 << 4 << 0 << O;
}

void TestSimDemoButtons::kd317Buttons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, replies);
    QFETCH(QString, row1);
    QFETCH(QString, row2);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);
    QFETCH(int, brightness);
    QFETCH(int, blink);
    QFETCH(Kd317Display::WriteMode, mode);
    SimulatedRun run;
    run.reach("Command6");
    run.press(qPrintable(button), replies);
    QCOMPARE(run.kd317().rowText(0), Row(row1));
    QCOMPARE(run.kd317().rowText(1), Row(row2));
    QCOMPARE(run.kd317().cursorRow(), cursorRow);
    QCOMPARE(run.kd317().cursorColumn(), cursorColumn);
    QCOMPARE(run.kd317().brightness(), brightness);
    QCOMPARE(run.kd317().blinkInterval(), blink);
    QCOMPARE(run.kd317().writeMode(), mode);
    QVERIFY(run.kd317().cursorOn());
    QCOMPARE(run.emulator.log().total(), 0);
}

// The display, cleared, gets old row 2 from home: the same picture as the mirror's row 1.
void TestSimDemoButtons::verticalModeMovesRowTwoUp()
{
    SimulatedRun run;
    run.reach("Command6");
    run.press("Command18");
    QCOMPARE(run.kd317().writeMode(), Kd317Display::WriteMode::VerticalScroll);
    QCOMPARE(run.kd317().rowText(0), Greeting2);
    QCOMPARE(run.kd317().rowText(1), Row(QString()));
    const ScreenMirror& mirror = run.h.currentAs<EscPosDemoWindow>()->mirror();
    QString mirrorRow1;
    for (int cell = 1; cell <= 20; ++cell) {
        mirrorRow1 += mirror.cell(cell);
    }
    QCOMPARE(mirrorRow1, run.kd317().rowText(0));
}

void TestSimDemoButtons::typingInHorizontalModeScrolls()
{
    SimulatedRun run;
    run.reach("Command6");
    run.press("Command19");
    EscPosDemoWindow* window = run.h.currentAs<EscPosDemoWindow>();
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUV")) {
        QTest::keyClicks(window->mirrorGrid()->cellEdit(window->mirror().focus()), QString(c));
        run.h.settle();
    }
    QCOMPARE(run.kd317().rowText(0), QStringLiteral("CDEFGHIJKLMNOPQRSTUV"));
    QCOMPARE(run.kd317().rowText(1), Row(QString()));
}

void TestSimDemoButtons::reverseLastsThePause()
{
    SimulatedRun run;
    run.reach("Command6");
    bool reversedDuringPause = false;
    run.h.duringPause = [&] {
        const VfdFrame frame = run.kd317().frame();
        reversedDuringPause = run.kd317().reverse() && frame.grid.at(0, 0).reverse &&
                              frame.grid.at(0, 3).reverse && !frame.grid.at(0, 4).reverse;
    };
    run.press("Command16", {QStringLiteral("14IJ")});
    QVERIFY(reversedDuringPause);
    QVERIFY(!run.kd317().reverse());
    QCOMPARE(run.kd317().rowText(0), Row(QStringLiteral("14IJ")));
}

void TestSimDemoButtons::codeTableWalk()
{
    SimulatedRun run;
    run.reach("Command6");
    run.press("Command14");
    run.press("Option10"); // WPC1252
    QStringList heldGroups;
    run.h.duringPause = [&] { heldGroups.append(run.kd317().rowText(0) + run.kd317().rowText(1)); };
    run.press("Command1");
    QCOMPARE(run.kd317().codeTable(), 16);
    QCOMPARE(heldGroups.size(), 3);
    // 128 to 159: the euro sign, a hole left blank, then the page's quotes and letters; 160 is the
    // no-break space.
    QCOMPARE(heldGroups[0].left(4), QStringLiteral("€ ‚ƒ"));
    QCOMPARE(heldGroups[1].left(3), QStringLiteral("\u00A0¡¢"));
    QCOMPARE(heldGroups[2].left(3), QStringLiteral("ÀÁÂ"));
    // The last group stays on the display.
    QCOMPARE(run.kd317().rowText(0), QStringLiteral("àáâãäåæçèéêëìíîïðñòó"));
    QCOMPARE(run.kd317().rowText(1), Row(QStringLiteral("ôõö÷øùúûüýþÿ")));
    run.press("Command2"); // CLOSE: ESC @ and back to the greeting
    QCOMPARE(run.kd317().codeTable(), 0);
    QCOMPARE(run.kd317().rowText(0), Greeting1);
}

// The display keeps its international set while the windows change, as a real one would.
void TestSimDemoButtons::internationalSetSurvivesWindowChanges()
{
    SimulatedRun run;
    run.reach("Command6");
    run.press("Command15");
    run.press("Option3"); // GERMANY
    run.press("Command1");
    QCOMPARE(run.kd317().rowText(0), Row(QStringLiteral("    GERMANY")));
    QCOMPARE(run.kd317().rowText(1), Row(QStringLiteral("    #$§ÄÖÜ^`äöüß")));
    run.press("Command2");
    QCOMPARE(run.h.currentTitle(), QStringLiteral("ESC/poc command list"));
    QCOMPARE(run.kd317().internationalSet(), 2);
    QCOMPARE(run.kd317().rowText(0), Greeting1);
}

void TestSimDemoButtons::selfTestButton()
{
    SimulatedRun run;
    run.reach("Command6");
    run.press("Command27");
    QVERIFY(run.kd317().selfTestRunning());
    QVERIFY(run.kd317().rowText(1).contains(QStringLiteral("9600,N,8,1")));
    run.press("Command7"); // held until the test ends
    run.time.advance(Kd317Display::SelfTestPageMs * Kd317Display::SelfTestPages);
    QVERIFY(!run.kd317().selfTestRunning());
    QCOMPARE(run.kd317().rowText(0), Row(QString()));
    QVERIFY(!run.kd317().cursorOn());
}

void TestSimDemoButtons::kd426Buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("DISPLAY LINE 4") << "Command4" << QStringList{"1"} << QStringList{"", "", "", "1"};
    QTest::newRow("DOUBLE LINE 2") << "Command7" << QStringList{"     KD-426"}
                                   << QStringList{"", "", "     KD-426", "     KD-426"};
    QTest::newRow("SHOW TIME DOUBLE")
        << "Command17" << QStringList{} << QStringList{"", "      09:05:07", "      09:05:07", ""};
}

void TestSimDemoButtons::kd426Buttons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, rows);
    SimulatedRun run;
    run.reach("Command7");
    run.press("Command5"); // CLEAR DISPLAY
    run.press(qPrintable(button), replies);
    for (QString& row : rows) {
        row = Row(row);
    }
    QCOMPARE(run.kd426Rows(), rows);
    QVERIFY(!run.emulator.isConnected());
    QCOMPARE(run.emulator.log().total(), 0);
}

void TestSimDemoButtons::kd426ToPrinter()
{
    SimulatedRun run;
    run.reach("Command7");
    // MODIFY INITIAL DISPLAY saves what it wrote as the screen at power-on.
    const QString initial = QStringLiteral("     TALVEX SYSTEM.,LTD");
    run.press("Command15", {initial, initial});
    run.press("Command8");
    const QStringList strip = run.emulator.kd426().receipt().lineTexts();
    QCOMPARE(strip.first(), QStringLiteral("WELCOME TO TALVEX SYSTEM.,LTD"));
    QCOMPARE(strip.size(), 8);
    QCOMPARE(run.kd426Rows().first(), Row(initial.left(20)));
    // The next display button addresses the display again.
    run.press("Command2", {QStringLiteral("NEXT")});
    QCOMPARE(run.kd426Rows()[1], Row(QStringLiteral("NEXT")));
    QCOMPARE(run.emulator.kd426().receipt().lineTexts().size(), 8);
    run.emulator.powerCycle();
    QCOMPARE(run.kd426Rows(), QStringList(4, Row(initial.left(20))));
    QCOMPARE(run.emulator.log().total(), 0);
}

void TestSimDemoButtons::kd138Buttons()
{
    SimulatedRun run;
    run.reach("Command8");
    run.press("Command1");
    QCOMPARE(run.emulator.kd138().text(), Row(QStringLiteral("12345678901")));
    run.press("Command2");
    QCOMPARE(run.emulator.kd138().text(), Row(QString()));
    QCOMPARE(run.emulator.log().total(), 0);
}

// Another program holding the simulated display: the person is told and stays on the port choice.
void TestSimDemoButtons::busyEmulatorKeepsThePortWindow()
{
    SimulatedRun run;
    EmulatedSerialPort other(run.emulator, [] { return DemoModel::KD138; });
    other.setPortName(kSimulatedPortName);
    QVERIFY(other.open().ok());
    run.reach("Command7");
    QCOMPARE(run.h.currentTitle(), QStringLiteral("PLEASE SELECT COMPORT"));
    QCOMPARE(run.h.dialogs.messages.size(), 1);
    QCOMPARE(run.h.dialogs.messages[0].title, QStringLiteral("Port Error"));
    QCOMPARE(run.h.dialogs.messages[0].text,
             QStringLiteral("sim cannot be opened (error 8005):\nThe simulated display is in use."));
    other.close();
    run.h.click(QStringLiteral("Command1"));
    QCOMPARE(run.h.currentTitle(), QString::fromUtf8("KD426-繁體"));
}

void TestSimDemoButtons::emulatedPortFailures_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<int>("error");
    QTest::newRow("another name") << "COM1" << int(LinkError::PortMissing);
    QTest::newRow("upper case") << "SIM" << int(LinkError::PortMissing);
    QTest::newRow("sound") << "sim" << 0;
}

void TestSimDemoButtons::emulatedPortFailures()
{
    QFETCH(QString, portText);
    QFETCH(int, error);
    VirtualPacer time;
    CustomerDisplayEmulator emulator(time);
    EmulatedSerialPort port(emulator, [] { return DemoModel::KD317; });
    QCOMPARE(port.write("A").number, int(LinkError::WriteFailed));
    port.setPortName(portText);
    QVERIFY(port.setSettings(*LineSettings::parse(QStringLiteral("38400,n,8,1"))).ok());
    const LinkStatus opened = port.open();
    QCOMPARE(opened.number, error);
    if (error != 0) {
        QVERIFY(!emulator.isConnected());
        return;
    }
    QVERIFY(port.write("A").ok());
    QCOMPARE(emulator.kd317().rowText(0).left(1), QStringLiteral("A"));
    // A second open of the same port object is refused without letting go of the line.
    QCOMPARE(port.open().number, int(LinkError::PortInUse));
    QVERIFY(emulator.isConnected());
    port.close();
    QVERIFY(!emulator.isConnected());
}

// A settings text that does not parse fails the open of the simulated display as it always has.
void TestSimDemoButtons::malformedSettingsRefused()
{
    SimulatedRun run;
    run.h.click(QStringLiteral("Command6"));
    run.h.click(QStringLiteral("OptionSimulated"));
    auto* boudrate = run.h.current()->findChild<QComboBox*>(QStringLiteral("BOUDRATE"));
    QVERIFY(boudrate != nullptr);
    boudrate->setCurrentText(QStringLiteral("9600,x,8,1"));
    run.h.click(QStringLiteral("Command1"));
    QCOMPARE(run.h.currentTitle(), QStringLiteral("PLEASE SELECT COMPORT"));
    QCOMPARE(run.h.dialogs.messages.size(), 1);
    QCOMPARE(run.h.dialogs.messages[0].text,
             QStringLiteral("sim cannot be opened (error 8015):\nThe line settings cannot be applied."));
    QVERIFY(!run.emulator.isConnected());
}

QTEST_MAIN(TestSimDemoButtons)
#include "tst_sim_demo_buttons.moc"
