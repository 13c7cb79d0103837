// The code table walk and the international set display.
#include "demo_harness.h"

#include <QTest>

namespace {

// 00 128 ... 00 255 as the walk writes them, pauses and clears after 159, 191 and 223.
QStringList Walk()
{
    QStringList walk;
    for (int code = 128; code <= 255; ++code) {
        walk.append(QStringLiteral("00 %1").arg(code, 2, 16).toUpper());
        if (code == 159 || code == 191 || code == 223) {
            walk.append("pause 8000");
            walk.append("0C");
        }
    }
    return walk;
}

void ReachCharacter(DemoHarness& h)
{
    h.reachEpson();
    h.click("Command14");
}

} // namespace

class TestCodeTableWindows : public QObject
{
    Q_OBJECT
private slots:
    void characterStartUp();
    void codeTableWalk_data();
    void codeTableWalk();
    void walkTwiceHasNoClearBetween();
    void walkHoldsWindow();
    void closeResetsAndHandsBack();
    void internationStartUp();
    void internationalSets_data();
    void internationalSets();
};

void TestCodeTableWindows::characterStartUp()
{
    DemoHarness h;
    h.reachEpson(4);
    h.clearLog();
    h.click("Command14");
    QCOMPARE(h.log, (QStringList{"close", "open COM4 9600,n,8,1", "write 0C"}));
}

void TestCodeTableWindows::codeTableWalk_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("select");
    QTest::newRow("no choice") << QString() << QString() << "1B 74 00";
    QTest::newRow("PC437") << "Option1"
                           << "PC437:USA,STANDARD EUROPE"
                           << "1B 74 00";
    QTest::newRow("KATAKANA") << "Option2"
                              << "KATAKANA"
                              << "1B 74 01";
    QTest::newRow("PC850") << "Option3"
                           << "PC850:MULITLINGUAL"
                           << "1B 74 02";
    QTest::newRow("PORTUGUESE") << "Option4"
                                << "PORTUGUESE"
                                << "1B 74 03";
    QTest::newRow("PC863") << "Option5"
                           << "PC863:CANADIAN-FRENCH"
                           << "1B 74 04";
    QTest::newRow("PC865") << "Option6"
                           << "PC865:NORDIC"
                           << "1B 74 05";
    QTest::newRow("SLAVONIC") << "Option7"
                              << "SLAVONIC"
                              << "1B 74 06";
    QTest::newRow("RUSSIA") << "Option8"
                            << "RUSSIA"
                            << "1B 74 07";
    QTest::newRow("PC858") << "Option9"
                           << "PC858:EURO"
                           << "1B 74 13";
    QTest::newRow("WPC1252") << "Option10"
                             << "WPC1252"
                             << "1B 74 10";
    QTest::newRow("GREEK") << "Option11"
                           << "GREEK"
                           << "1B 74 0C";
}

void TestCodeTableWindows::codeTableWalk()
{
    QFETCH(QString, option);
    QFETCH(QString, caption);
    QFETCH(QString, select);
    DemoHarness h;
    ReachCharacter(h);
    h.clearLog();
    if (!option.isEmpty()) {
        QCOMPARE(h.button(option)->text(), caption);
        h.click(option);
    }
    const qint64 before = h.ms();
    h.click("Command1");
    QCOMPARE(h.traffic(), QStringList{select} + Walk());
    QCOMPARE(h.ms() - before, 24000);
    QCOMPARE(h.currentTitle(), QStringLiteral("CHARACTER CODE TABLE"));
}

void TestCodeTableWindows::walkTwiceHasNoClearBetween()
{
    DemoHarness h;
    ReachCharacter(h);
    h.click("Option2");
    h.clearLog();
    h.click("Command1");
    h.click("Command1");
    QCOMPARE(h.traffic(), QStringList{"1B 74 01"} + Walk() + QStringList{"1B 74 01"} + Walk());
}

void TestCodeTableWindows::walkHoldsWindow()
{
    DemoHarness h;
    ReachCharacter(h);
    QWidget* window = h.current();
    int pauses = 0;
    bool everEnabled = false;
    h.duringPause = [&] {
        ++pauses;
        everEnabled = everEnabled || window->isEnabled();
        QVERIFY(!window->close());
    };
    h.click("Command1");
    QCOMPARE(pauses, 3);
    QVERIFY(!everEnabled);
    QVERIFY(window->isEnabled());
    QCOMPARE(h.current(), window);
}

void TestCodeTableWindows::closeResetsAndHandsBack()
{
    DemoHarness h;
    ReachCharacter(h);
    h.clearLog();
    h.click("Command2");
    QCOMPARE(h.log.mid(0, 4), (QStringList{"write 1B 40", "close", "open COM1 9600,n,8,1", "write 0C"}));
    QCOMPARE(h.currentTitle(), QStringLiteral("ESC/poc command list"));
    // A new visit starts from table 0 again.
    h.click("Command14");
    h.clearLog();
    h.duringPause = nullptr;
    h.click("Command1");
    QCOMPARE(h.writes().first(), QStringLiteral("1B 74 00"));
}

void TestCodeTableWindows::internationStartUp()
{
    DemoHarness h;
    h.reachEpson(2);
    h.clearLog();
    h.click("Command15");
    QCOMPARE(h.log, (QStringList{"close", "open COM2 9600,n,8,1", "write 0C", "write 1F 24 03 01"}));
    // CANCEL writes nothing before handing back.
    h.clearLog();
    h.click("Command2");
    QCOMPARE(h.log.mid(0, 2), (QStringList{"close", "open COM2 9600,n,8,1"}));
}

void TestCodeTableWindows::internationalSets_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("no choice") << QString() << QString() << "1B 52 00" << QByteArray("U.S.A");
    QTest::newRow("U.S.A") << "Option1"
                           << "U.S.A"
                           << "1B 52 00" << QByteArray("U.S.A");
    QTest::newRow("FRANCE") << "Option2"
                            << "FRANCE"
                            << "1B 52 01" << QByteArray("FRANCE");
    QTest::newRow("GERMANY") << "Option3"
                             << "GERMANY"
                             << "1B 52 02" << QByteArray("GERMANY");
    QTest::newRow("U.K") << "Option4"
                         << "U.K"
                         << "1B 52 03" << QByteArray("U.K");
    QTest::newRow("DENMARK I") << "Option5"
                               << "DENMARK  I"
                               << "1B 52 04" << QByteArray("DENMARK I");
    QTest::newRow("SWEDEN") << "Option6"
                            << "SWEDEN"
                            << "1B 52 05" << QByteArray("SWEDEN");
    QTest::newRow("ITALY") << "Option7"
                           << "ITALY"
                           << "1B 52 06" << QByteArray("ITALY");
    QTest::newRow("SPAIN") << "Option8"
                           << "SPAIN"
                           << "1B 52 07" << QByteArray("SPAIN");
    QTest::newRow("JAPAN") << "Option9"
                           << "JAPAN"
                           << "1B 52 08" << QByteArray("JAPAN");
    QTest::newRow("NORWAY") << "Option10"
                            << "NORWAY"
                            << "1B 52 09" << QByteArray("NORWAY");
    QTest::newRow("DENMARK II") << "Option11"
                                << "DENMARK  II"
                                << "1B 52 0A" << QByteArray("DENMARK II");
    QTest::newRow("SLAWIE") << "Option12"
                            << "SLAWIE"
                            << "1B 52 0B" << QByteArray("SLAWIE");
    QTest::newRow("RUSSIA") << "Option13"
                            << "RUSSIA"
                            << "1B 52 0C" << QByteArray("RUSSIA");
}

void TestCodeTableWindows::internationalSets()
{
    QFETCH(QString, option);
    QFETCH(QString, caption);
    QFETCH(QString, select);
    QFETCH(QByteArray, name);
    DemoHarness h;
    h.reachEpson();
    h.click("Command15");
    h.clearLog();
    if (!option.isEmpty()) {
        QCOMPARE(h.button(option)->text(), caption);
        h.click(option);
    }
    h.click("Command1");
    // The name always starts at column 5 of row 1, whatever its length.
    QCOMPARE(h.writes(), (QStringList{"0C", select, "1F 24 05 01 " + Hex(name), "1F 24 05 02",
                                      "23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E"}));
}

QTEST_MAIN(TestCodeTableWindows)
#include "tst_code_table_windows.moc"
