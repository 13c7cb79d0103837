// The chain of windows and the port choice they share.
#include "demo_harness.h"
#include "windows/escpos_demo_window.h"
#include "windows/escpos_port_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

class TestNavigation : public QObject
{
    Q_OBJECT
private slots:
    void followsTheTable_data();
    void followsTheTable();
    void portChoiceOutlivesWindows();
    void lineSettingsFromBoudrate_data();
    void lineSettingsFromBoudrate();
    void commandChoiceChangesNothing();
    void systemPortReplacesComOption();
    void launcherModelsNotIncluded_data();
    void launcherModelsNotIncluded();
    void kp685WritesToNamedPort();
    void kp685CancelledWritesNothing();
    void frameCloseReleasesPort();
};

void TestNavigation::followsTheTable_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("ended");
    QTest::newRow("start") << QStringList{} << "talvex_main" << 0;
    QTest::newRow("KD-317") << QStringList{"Command6"} << "PLEASE SELECT COMPORT" << 0;
    QTest::newRow("KD-426") << QStringList{"Command7"} << "PLEASE SELECT COMPORT" << 0;
    QTest::newRow("KD-138") << QStringList{"Command8"} << "PLEASE SELECT COMPORT" << 0;
    QTest::newRow("RS_232_KD426 ENTER")
        << QStringList{"Command7", "Option5", "Command1"} << QString::fromUtf8("KD426-繁體") << 0;
    QTest::newRow("RS_232_KD138 ENTER")
        << QStringList{"Command8", "Option10", "Command1"} << "KD138 DEMO" << 0;
    QTest::newRow("RS_232_KD138 CANCEL") << QStringList{"Command8", "Command2"} << "talvex_main" << 0;
    QTest::newRow("RS_232 CANCEL ends")
        << QStringList{"Command6", "Command2"} << "PLEASE SELECT COMPORT" << 1;
    QTest::newRow("RS_232_KD426 CANCEL ends")
        << QStringList{"Command7", "Command2"} << "PLEASE SELECT COMPORT" << 1;
    QTest::newRow("epson to CHARACTER")
        << QStringList{"Command6", "Option1", "Command1", "Command14"} << "CHARACTER CODE TABLE" << 0;
    QTest::newRow("CHARACTER CLOSE") << QStringList{"Command6", "Option1", "Command1", "Command14",
                                                    "Command2"}
                                     << "ESC/poc command list" << 0;
    QTest::newRow("epson to internation")
        << QStringList{"Command6", "Option1", "Command1", "Command15"} << "Internation Character Sets" << 0;
    QTest::newRow("internation CANCEL")
        << QStringList{"Command6", "Option1", "Command1", "Command15", "Command2"} << "ESC/poc command list"
        << 0;
    QTest::newRow("END TEST ends") << QStringList{"Command6", "Option1", "Command1", "Command30"}
                                   << "ESC/poc command list" << 1;
}

void TestNavigation::followsTheTable()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, title);
    QFETCH(int, ended);
    DemoHarness h;
    for (const QString& name : clicks) {
        h.click(name);
    }
    QCOMPARE(h.currentTitle(), title);
    QVERIFY(h.current()->isVisible());
    QCOMPARE(h.ended, ended);
    QVERIFY(h.dialogs.messages.isEmpty());
    // One window at a time: the windows handed over are gone.
    QCOMPARE(VisibleWindows(), 1);
}

void TestNavigation::portChoiceOutlivesWindows()
{
    DemoHarness h;
    h.click("Command8");
    h.click("Option4");
    h.click("Command2"); // back to the launcher, port kept
    QCOMPARE(h.context.state.DemoPortNumber, qint16(4));
    h.click("Command7");
    const auto options = h.current()->findChildren<QRadioButton*>();
    for (QRadioButton* option : options) {
        QVERIFY2(!option->isChecked(), "no option is preselected");
    }
    h.click("Command1");
    h.clearLog();
    h.click("Command5");
    QCOMPARE(h.log, (QStringList{"open COM4 9600,n,8,1", "write 1B 3D 32", "write 1F 0D", "close"}));
}

void TestNavigation::lineSettingsFromBoudrate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("listIndex");
    QTest::addColumn<QString>("settings");
    QTest::newRow("left as it is") << QString() << -1 << "9600,n,8,1";
    QTest::newRow("chosen from the list") << QString() << 3 << "38400,n,8,1";
    QTest::newRow("typed, not in the list") << "2400,e,7,2" << -1 << "2400,e,7,2";
}

void TestNavigation::lineSettingsFromBoudrate()
{
    QFETCH(QString, typed);
    QFETCH(int, listIndex);
    QFETCH(QString, settings);
    DemoHarness h;
    h.click("Command6");
    h.click("Option3");
    auto* boudrate = h.current()->findChild<QComboBox*>("BOUDRATE");
    QVERIFY(boudrate);
    QCOMPARE(boudrate->currentText(), QStringLiteral("9600,n,8,1"));
    if (listIndex >= 0) {
        boudrate->setCurrentIndex(listIndex);
    }
    if (!typed.isEmpty()) {
        boudrate->lineEdit()->selectAll();
        QTest::keyClicks(boudrate->lineEdit(), typed);
    }
    h.click("Command1");
    QCOMPARE(h.log.value(0), QStringLiteral("open COM3 ") + settings);
    QCOMPARE(h.context.state.DemoLineSettings, settings);
}

void TestNavigation::commandChoiceChangesNothing()
{
    QStringList logs[2];
    for (int run = 0; run < 2; ++run) {
        DemoHarness h;
        h.click("Command6");
        auto* command = h.current()->findChild<QComboBox*>("S_COMMAND");
        QVERIFY(command);
        QCOMPARE(command->currentText(), QStringLiteral("ESC/pos"));
        QCOMPARE(command->count(), 8);
        if (run == 1) {
            command->setCurrentIndex(7);
        }
        h.click("Option1");
        h.click("Command1");
        h.click("Command10");
        logs[run] = h.log;
    }
    QCOMPARE(logs[1], logs[0]);
}

void TestNavigation::systemPortReplacesComOption()
{
    DemoHarness h;
    h.click("Command6");
    h.click("Option2");
    auto* ports = h.current()->findChild<QComboBox*>("SystemPorts");
    QVERIFY(ports);
    QCOMPARE(ports->count(), 2);
    QVERIFY(ports->itemText(1).contains("USB-Serial Controller"));
    ports->setCurrentIndex(1);
    emit ports->activated(1);
    QVERIFY(!h.current()->findChild<QRadioButton*>("Option2")->isChecked());
    h.click("Command1");
    QCOMPARE(h.log.value(0), QStringLiteral("open /dev/ttyUSB0 9600,n,8,1"));

    // A COM option clicked afterwards takes over again.
    h.click("Command30");
    DemoHarness again;
    again.click("Command6");
    auto* list = again.current()->findChild<QComboBox*>("SystemPorts");
    list->setCurrentIndex(1);
    emit list->activated(1);
    again.click("Option7");
    QCOMPARE(list->currentIndex(), 0);
    again.click("Command1");
    QCOMPARE(again.log.value(0), QStringLiteral("open COM7 9600,n,8,1"));
}

void TestNavigation::launcherModelsNotIncluded_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("model");
    QTest::newRow("KP-361") << "Command1"
                            << "KP-361";
    QTest::newRow("KP-248S") << "Command2"
                             << "KP-248S";
    QTest::newRow("KP-472") << "Command3"
                            << "KP-472";
    QTest::newRow("KP-593") << "Command5"
                            << "KP-593";
}

void TestNavigation::launcherModelsNotIncluded()
{
    QFETCH(QString, button);
    QFETCH(QString, model);
    DemoHarness h;
    QCOMPARE(h.button(button)->text(), model);
    h.click(button);
    QCOMPARE(h.currentTitle(), QStringLiteral("talvex_main"));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QVERIFY(h.dialogs.messages[0].text.contains(model + " demonstration is not included"));
    QVERIFY(h.log.isEmpty());
}

void TestNavigation::kp685WritesToNamedPort()
{
    DemoHarness h;
    h.dialogs.replies = {QStringLiteral("COM2")};
    h.click("Command4");
    QCOMPARE(h.dialogs.prompts.size(), 1);
    QCOMPARE(h.dialogs.prompts[0].defaultReply, QStringLiteral("COM1"));
    QCOMPARE(h.log.first(), QStringLiteral("open COM2 9600,n,8,1"));
    QCOMPARE(h.log.last(), QStringLiteral("close"));
    const QStringList writes = h.writes();
    QCOMPARE(writes.size(), 9);
    QCOMPARE(writes[0], QStringLiteral("1B 21 11"));
    QCOMPARE(writes[1], QStringLiteral("1B 78 32"));
    QCOMPARE(writes[3], QStringLiteral("1B 78 30"));
    QCOMPARE(writes[5], QStringLiteral("1B 21 21"));
    QCOMPARE(writes[8], QStringLiteral("1B 21 11"));
    QCOMPARE(h.currentTitle(), QStringLiteral("talvex_main"));
}

void TestNavigation::kp685CancelledWritesNothing()
{
    DemoHarness h;
    h.click("Command8");
    h.click("Option6");
    h.click("Command2");
    h.dialogs.replies = {std::nullopt};
    h.click("Command4");
    QCOMPARE(h.dialogs.prompts[0].defaultReply, QStringLiteral("COM6")); // the port chosen in this run
    QVERIFY(h.log.isEmpty());
}

void TestNavigation::frameCloseReleasesPort()
{
    DemoHarness h;
    h.reachEpson(2);
    QCOMPARE(h.line.openPorts, 1);
    QVERIFY(h.current()->close());
    h.settle();
    QCOMPARE(h.line.openPorts, 0);
    QCOMPARE(h.log.last(), QStringLiteral("close"));
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
