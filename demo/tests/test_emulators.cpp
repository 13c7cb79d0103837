// The emulated KD-317, KD-426 (with the printer behind it) and KD-138: one golden screen for each
// feature of each model after the bytes its commands are made of. Bytes in any pieces and random
// bytes are the fuzz targets' (fuzz/fuzz_kd*_display.cpp).
#include "demo/tests/golden_bytes.h"

#include "core/pacer.h"
#include "demo/emulators/kd138_display.h"
#include "demo/emulators/kd317_display.h"
#include "demo/emulators/kd426_display.h"
#include "demo/emulators/sim_log.h"

#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Displays
{
    VirtualPacer clock;
    SimLog log;
    Kd317Display kd317{clock, log};
    Kd426Display kd426{clock, log};
    Kd138Display kd138{log};
    Displays() { kd426.feed("\x1B\x3D\x32\x1F\x0D"); }
};

// The rows shown, trimmed on the right and joined by "/"; for "receipt" the lines of the paper strip.
QString shownRows(Displays& d, const QString& model)
{
    QStringList rows;
    if (model == "KD-317")
        rows = {d.kd317.rowText(0), d.kd317.rowText(1)};
    else if (model == "KD-426")
        rows = {d.kd426.rowText(0), d.kd426.rowText(1), d.kd426.rowText(2), d.kd426.rowText(3)};
    else if (model == "KD-138")
        rows = {d.kd138.text()};
    else
        rows = d.kd426.receipt().lineTexts();
    for (QString& row : rows)
        row.remove(QRegularExpression(QStringLiteral(" +$")));
    return rows.join(u'/');
}

// What else the model shows and holds, by name.
QMap<QString, QString> shownState(Displays& d)
{
    const VfdFrame frame = d.kd317.frame();
    QString reversed;
    for (int column = 0; column < Kd317Display::kColumns; ++column)
        reversed += frame.grid.at(0, column).reverse ? QString::number(column % 10) : QString();
    QString heights;
    for (int row = 0; row < Kd426Display::kRows; ++row)
        heights += QStringLiteral("STB").at(int(d.kd426.frame().grid.at(row, 6).height));
    QString modes;
    for (const ReceiptStrip::Line& line : d.kd426.receipt().lines())
        modes += QString::number(line.isEmpty() ? 0 : line[0].mode, 16) + u',';
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return {{"cursor", QStringLiteral("%1,%2").arg(d.kd317.cursorRow()).arg(d.kd317.cursorColumn())},
            {"mode", QStringLiteral("OVH").at(int(d.kd317.writeMode()))},
            {"bright", QString::number(frame.brightness)},
            {"blink", QString::number(d.kd317.blinkInterval())},
            {"table", QString::number(d.kd317.codeTable())},
            {"set", QString::number(d.kd317.internationalSet())},
            {"cursorOn", flag(d.kd317.cursorOn())},
            {"reverse", flag(d.kd317.reverse())},
            {"reversed", reversed},
            {"time", flag(d.kd317.timeShown())},
            {"lit", flag(frame.lit)},
            {"selfTest", flag(d.kd317.selfTestRunning())},
            {"heights", heights},
            {"printer", flag(d.kd426.printerAddressed())},
            {"clock", QString::number(int(d.kd426.timeSize()))},
            {"modes", modes}};
}

const QString kLetters20 = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
const QString kLetters40 = kLetters20 + QStringLiteral("UVWXYZABCDEFGHIJKLMN");

void kd317(const char* name, const QString& script, const QString& screen, const QString& state,
           const QString& logged = {})
{
    QTest::newRow(name) << "KD-317" << script << screen << state << logged;
}

void kd426(const char* name, const QString& script, const QString& screen, const QString& state,
           const QString& logged = {})
{
    QTest::newRow(name) << "KD-426" << script << screen << state << logged;
}

void kd138(const char* name, const QString& script, const QString& screen, const QString& logged = {})
{
    QTest::newRow(name) << "KD-138" << script << screen << QString() << logged;
}

// The KD-317.
void kd317Rows()
{
    // KD-317: text and the cursor at the edges, in the three write modes.
    kd317("overwrite: row 1 to row 2", "\"" + kLetters20 + "U\"", kLetters20 + "/U", "cursor=1,1");
    kd317("overwrite: row 2 to home", "\"" + kLetters40 + "z\"", "zBCDEFGHIJKLMNOPQRST/" + kLetters40.mid(20),
          "cursor=0,1");
    kd317("vertical: waits past the end", "1F 02 \"" + kLetters40 + "\"",
          kLetters20 + "/" + kLetters40.mid(20), "cursor=1,19 mode=V");
    kd317("vertical: the next character scrolls", "1F 02 \"" + kLetters40 + "z\"", kLetters40.mid(20) + "/z",
          "cursor=1,1");
    kd317("horizontal: the row is pushed left", "1F 03 \"" + kLetters20 + "UV\"", "CDEFGHIJKLMNOPQRSTUV/",
          "cursor=0,19 mode=H");
    kd317("horizontal: stays on row 2", "1F 03 1F 42 \"" + kLetters20 + "U\"", "/BCDEFGHIJKLMNOPQRSTU",
          "cursor=1,19");
    kd317("HT", "\"AB\" 09 09", "AB/", "cursor=0,4");
    kd317("HT overwrite at the end of row 2 goes home", "1F 42 1F 0D 09", "/", "cursor=0,0");
    kd317("BS overwrite at home wraps to the end", "08", "/", "cursor=1,19");
    kd317("BS vertical at home scrolls down", "1F 02 \"X\" 0B 08", "/X", "cursor=0,19");
    kd317("LF keeps the column", "\"AB\" 0A", "AB/", "cursor=1,2");
    kd317("LF vertical on row 2 scrolls", "1F 02 1F 42 \"Q\" 0A", "Q/", "cursor=1,1");
    kd317("US LF vertical on row 1 scrolls down", "1F 02 \"Q\" 1F 0A", "/Q", "cursor=0,1");
    kd317("CR", "\"ABC\" 0D", "ABC/", "cursor=0,0");
    kd317("US $ column 5 row 2", "1F 24 05 02 \"X\"", "/    X", "cursor=1,5");
    kd317("US $ column 20 row 1", "1F 24 14 01 \"X\"", "                   X/", "cursor=1,0");
    kd317("US $ off the screen is refused", "\"AB\" 1F 24 15 01 1F 24 00 01 1F 24 01 03", "AB/", "cursor=0,2",
          "KD-317: cursor position off the screen [1F 24 15 01]; KD-317: cursor position off the screen [1F "
          "24 00 "
          "01]; KD-317: cursor position off the screen [1F 24 01 03]");
    kd317("clear homes", "\"ABC\" 1F 42 \"XY\" 0C", "/", "cursor=0,0");
    kd317("CAN clears the cursor row", "\"ABC\" 1F 42 \"XY\" 18", "ABC/", "cursor=1,0");
    kd317("NUL is filler", "00 \"A\" 00 \"B\"", "AB/", "cursor=0,2");

    // KD-317: code tables, international sets, settings and what it refuses (then A lands at home).
    kd317("code tables",
          "80 1B 74 01 B1 1B 74 02 9B 1B 74 03 84 1B 74 04 86 1B 74 05 9B 1B 74 10 80 81 E9 1B 74 13 D5 "
          "1B 74 07 80 1B 74 0C 80 \"A\"",
          QString::fromUtf8("Çｱøã¶ø€ é€АΑA/"), "table=12");
    const QList<std::pair<int, const char*>> sets = {
        {0, "#$@[\\]^`{|}~"}, {1, "#$à°ç§^`éùè¨"},  {2, "#$§ÄÖÜ^`äöüß"},
        {3, "£$@[\\]^`{|}~"}, {5, "#¤ÉÄÖÅÜéäöåü"},  {7, "₧$@¡Ñ¿^`¨ñ}~"},
        {8, "#$@[¥]^`{|}~"},  {10, "#$ÉÆØÅÜéæøåü"}, {12, "№$ЮШЭЩЧюшэщч"}};
    for (const auto& [set, shown] : sets) {
        QTest::addRow("international set %d", set)
            << "KD-317" << QStringLiteral("1B 52 %1 \"#$@[\\]^`{|}~A\" 80").arg(set, 2, 16, QLatin1Char('0'))
            << QString::fromUtf8(shown) + QStringLiteral("AÇ/") << QStringLiteral("set=%1").arg(set)
            << QString();
    }
    kd317("brightness 1", "1F 58 01 \"A\"", "A/", "bright=1");
    kd317("brightness 0 refused", "1F 58 02 1F 58 00 \"A\"", "A/", "bright=2",
          "KD-317: brightness takes 1 to 4 [1F 58 00]");
    kd317("brightness 5 refused", "1F 58 05 \"A\"", "A/", "bright=4",
          "KD-317: brightness takes 1 to 4 [1F 58 05]");
    kd317("table 99 refused", "1B 74 05 1B 74 63 \"A\"", "A/", "table=5",
          "KD-317: no such code table [1B 74 63]");
    kd317("set 13 refused", "1B 52 0D \"A\"", "A/", "set=0", "KD-317: no such international set [1B 52 0D]");
    kd317("cursor 2 refused", "1F 43 01 1F 43 02 \"A\"", "A/", "cursorOn=1",
          "KD-317: cursor display takes 0 or 1 [1F 43 02]");
    kd317("unknown control", "07 \"A\"", "A/", "", "KD-317: unknown control code [07]");
    kd317("unknown ESC", "1B 7A \"A\"", "A/", "", "KD-317: unknown ESC command [1B 7A]");
    kd317("unknown US", "1F 99 \"A\"", "A/", "", "KD-317: unknown US command [1F 99]");
    kd317("time 24:00 refused", "1F 54 18 00 \"A\"", "A/", "time=0",
          "KD-317: no such time of day [1F 54 18 00]");

    // KD-317: blinking from the command on (n times 50 ms lit, as long dark), the clock, the self-test,
    // reverse characters and initialisation.
    const QString blink = QStringLiteral("+1234 | 1F 45 07 | +3766 | 1F 45 %1 | +%2");
    kd317("blink 10: lit to 499 ms", blink.arg("0A").arg(499), "/", "lit=1 blink=10");
    kd317("blink 10: dark from 500 ms", blink.arg("0A").arg(500), "/", "lit=0");
    kd317("blink 10: lit again from 1000 ms", blink.arg("0A").arg(1000), "/", "lit=1");
    kd317("blink 0 stops", blink.arg("00").arg(500), "/", "lit=1 blink=0");
    kd317("blink 255 keeps it dark", blink.arg("FF").arg(100000), "/", "lit=0");
    const QString clock = QStringLiteral("\"ABC\" 1F 42 \"0123456789ABCDEFGHIJ\" 1F 54 17 3A");
    kd317("clock over the end of row 2", clock + " | +59999", "ABC/0123456789ABCDE23:58", "time=1");
    kd317("clock runs", clock + " | +60000", "ABC/0123456789ABCDE23:59", "time=1");
    kd317("clock past midnight", clock + " | +120000", "ABC/0123456789ABCDE00:00", "time=1");
    kd317("clear puts the clock away", clock + " | 0C", "/", "time=0");
    const QString selfTest = QStringLiteral("settings 19200,n,8,1 | \"XYZ\" 1F 58 02 1F 40 \"HI\" | \"J\"");
    kd317("self-test", selfTest, " KD-317  SELF-TEST/V1.02 19200,N,8,1", "selfTest=1");
    kd317("self-test pages", selfTest + " | +2000", "TABLE PC437/INTL  U.S.A", "selfTest=1");
    kd317("self-test ends as a power-on, then shows what came", selfTest + " | +6000", "HIJ/",
          "selfTest=0 bright=4");
    kd317("reverse marks only what is written", "0C 1F 72 01 \"14IJ\" 1F 72 00 \"K\"", "14IJK/",
          "reverse=0 reversed=0123");
    kd317("initialize restores the power-on state",
          "1F 03 1F 58 01 1F 45 05 1F 72 01 1B 74 10 1B 52 02 1F 43 01 \"ABC\" 1F 54 01 02 1B 40", "/",
          "mode=O bright=4 blink=0 reverse=0 table=0 set=0 cursorOn=0 time=0 cursor=0,0");
}

// The KD-426 with its printer, and the KD-138.
void kd426AndKd138Rows()
{
    // KD-426: line letters, double and moving lines, the clock, the saved initial display.
    kd426("four lines", "1B 71 41 \"ONE\" 0D 1B 71 42 \"TWO\" 0D 1B 71 43 \"THREE\" 0D 1B 71 44 \"FOUR\" 0D",
          "ONE/TWO/THREE/FOUR", "heights=SSSS");
    kd426("a line replaces only its row", "1B 71 42 \"OLD\" 0D 1B 71 43 \"KEPT\" 0D 1B 71 42 \"NEW\" 0D",
          "/NEW/KEPT/", "");
    kd426("longer than the row is cut", "1B 71 44 \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\" 0D", "///" + kLetters20, "");
    kd426("double line 1", "1B 71 45 \" TALVEX SYSTEM.,LTD \" 0D",
          " TALVEX SYSTEM.,LTD/ TALVEX SYSTEM.,LTD//", "heights=TBSS");
    kd426("double line 2 skips SO", "1B 71 46 0E \"     KD-426\" 0D", "//     KD-426/     KD-426",
          "heights=SSTB");
    kd426("a line over a double takes both halves", "1B 71 45 \"BIG\" 0D 1B 71 42 \"SMALL\" 0D", "/SMALL//",
          "heights=SSSS");
    kd426("clear", "1B 71 41 \"X\" 0D 1B 71 46 \"Y\" 0D 1F 0D", "///", "heights=SSSS");
    kd426("Big5 pairs, a lone upper byte blank", "1B 71 41 A5 78 80 A5 5F 0D", QString::fromUtf8("台 北///"),
          "");
    const QString marquee = QStringLiteral("1B 71 48 \"HELLO\" 0D | +%1");
    kd426("moving line: enters from the right", marquee.arg(300), "/                   H//", "");
    kd426("moving line: whole after twenty steps", marquee.arg(6000), "/HELLO//", "");
    kd426("moving line: leaves on the left", marquee.arg(6600), "/LLO//", "");
    kd426("moving line: round again after 25 steps", marquee.arg(7800), "/                   H//", "");
    kd426("moving double line 1", "1B 71 4B \"AB\" 0D | +5700", " AB/ AB//", "heights=TBSS");
    const QString time = QStringLiteral("1B 71 41 \"GONE\" 0D 1B 71 %1 \"23:59:58\" 0D | +%2");
    kd426("small clock runs", time.arg("74").arg(1000), "/      23:59:59//", "clock=1");
    kd426("double clock past midnight", time.arg("54").arg(2000), "/      00:00:00/      00:00:00/",
          "heights=STBS clock=2");
    kd426("a line puts the clock away", time.arg("54").arg(0) + " | 1B 71 44 \"BACK\" 0D", "///BACK",
          "clock=0");
    const QString initial = QStringLiteral(
        "1B 71 45 \"     TALVEX\" 0D 1B 71 46 \"  WELCOME\" 0D 1B 73 1B 71 41 \"LATER\" 0D | power");
    kd426("initial display at power-on", initial, "     TALVEX/     TALVEX/  WELCOME/  WELCOME",
          "heights=TBTB");
    kd426("a command cut by the power stays cut", initial + " | 1B 71 41 \"HALF\" | power | 0D",
          "     TALVEX/     TALVEX/  WELCOME/  WELCOME", "");

    // The printer behind the KD-426: "To printer" as the window sends it, then the display again.
    const QString printer =
        QStringLiteral("1B 3D 31 0D | 1B 21 11 | \"WELCOME TO TALVEX SYSTEM.,LTD\" | 1B 64 01 | 1B 21 21 | "
                       "\"   TEL:+886-2-5550-1234\" | \"   FAX:+886-2-5550-1235\" | 1B 21 11 | 1B 64 05");
    QTest::newRow("printer strip")
        << "receipt" << printer
        << "WELCOME TO TALVEX SYSTEM.,LTD/   TEL:+886-2-55/50-1234   FAX:+8/86-2-5550-1235////"
        << "printer=1 modes=11,21,21,21,0,0,0,0," << QString();
    kd426("the printer leaves the screen alone", printer + " | 1B 3D 32 1B 71 41 \"DISPLAY\" 0D",
          "DISPLAY///", "printer=0 modes=11,21,21,21,0,0,0,0,");
    kd426("unknown letter", "1B 71 5A \"X\" 0D", "///", "", "KD-426: no such line letter [1B 71 5A]");
    kd426("bad time", "1B 71 74 \"9:5\" 0D", "///", "", "KD-426: not a time of day [1B 71 74 39 3A 35]");
    kd426("no such device", "1B 3D 33", "///", "", "KD-426: no such device to address [1B 3D 33]");
    kd426("text outside a line", "\"A\"", "///", "", "KD-426: not a command [41]");
    kd426("unknown US", "1F 01", "///", "", "KD-426: unknown US command [1F 01]");
    kd426("control inside a line", "1B 71 41 07 0D", "///", "", "KD-426: control code inside a line [07]");
    kd426("printer's unknown ESC", "1B 3D 31 1B \"Z\"", "///", "printer=1",
          "printer: unknown ESC command [1B 5A]");

    // KD-138: one line of twenty.
    kd138("CLEAR DISPLAY", "1B 51 41 \"12345678901\" 0D | 0C 0D", "");
    kd138("a line replaces the whole row", "1B 51 41 \"LONGER LINE\" 0D | 1B 51 41 \"SHORT\" 0D", "SHORT");
    kd138("cut at twenty", "1B 51 41 \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\" 0D", kLetters20);
    kd138("plain characters at the cursor", "\"AB\" 0D \"C\"", "CB");
    kd138("unknown ESC", "1B 51 42 \"X\"", "X", "KD-138: no such line [1B 51 42]");
    kd138("unknown control", "01 \"Y\"", "Y", "KD-138: unknown control code [01]");
}

} // namespace

class TestEmulators : public QObject
{
    Q_OBJECT
private slots:
    void screens_data();
    void screens();
};

void TestEmulators::screens_data()
{
    QTest::addColumn<QString>("model");
    // Writes split by " | " (DemoHarness style: hexadecimal and "TEXT"), "+N" for N ms passing,
    // "power" for the KD-426 switched off and on, "settings TEXT" for the KD-317's line settings.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("state"); // "name=value ..." of shownState()
    QTest::addColumn<QString>("logged");
    kd317Rows();
    kd426AndKd138Rows();
}

void TestEmulators::screens()
{
    QFETCH(QString, model);
    QFETCH(QString, script);
    QFETCH(QString, screen);
    QFETCH(QString, state);
    QFETCH(QString, logged);
    Displays d;
    for (const QString& step : script.split(QStringLiteral(" | "))) {
        if (step.startsWith(u'+'))
            d.clock.advance(step.mid(1).toInt());
        else if (step == QStringLiteral("power"))
            d.kd426.powerOn();
        else if (step.startsWith(QStringLiteral("settings ")))
            d.kd317.setLineSettings(*LineSettings::parse(step.mid(9)));
        else if (model == "KD-317")
            d.kd317.feed(bytesOf(step));
        else if (model == "KD-138")
            d.kd138.feed(bytesOf(step));
        else
            d.kd426.feed(bytesOf(step));
    }
    QCOMPARE(shownRows(d, model), screen);
    const QMap<QString, QString> actual = shownState(d);
    for (const QString& expected : state.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = expected.section(u'=', 0, 0);
        QCOMPARE(name + u'=' + actual.value(name), expected);
    }
    QCOMPARE(d.log.entries().join(QStringLiteral("; ")), logged);
}

QTEST_GUILESS_MAIN(TestEmulators)
#include "test_emulators.moc"
