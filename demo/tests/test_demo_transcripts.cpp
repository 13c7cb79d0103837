// Every window and button of vfddemo, clicked as a person would: one golden transcript each of what
// reaches the line (bytes, order, pauses), what the person is asked and shown, the window they are on,
// and the mirror of the ESC/POS window.
#include "demo/model/byte_text.h"
#include "demo/tests/demo_harness.h"
#include "demo/tests/golden_bytes.h"
#include "demo/windows/escpos_demo_window.h"
#include "demo/windows/mirror_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

// 00 128 ... 00 255 as the code-table walk writes them, pausing and clearing after 159, 191 and 223.
QStringList codeTableWalk()
{
    QStringList walk;
    for (int code = 128; code <= 255; ++code) {
        walk.append("write 00 " + QString::number(code, 16).toUpper());
        if (code == 159 || code == 191 || code == 223)
            walk += QStringList{"pause 8000", "write 0C"};
    }
    return walk;
}

// The record a golden text stands for: entries split by " | "; a write is hexadecimal bytes and
// "TEXT" for the bytes of its characters, *"TEXT" stands for one write a character, "walk" for the
// code-table walk.
QStringList goldenRecord(const QString& golden)
{
    static const QRegularExpression kWrite(QStringLiteral("^([0-9A-F]{2}( |$)|\"|\\*\")"));
    QStringList result;
    for (const QString& entry : golden.split(QStringLiteral(" | "), Qt::SkipEmptyParts)) {
        if (entry == QStringLiteral("walk")) {
            result += codeTableWalk();
        } else if (entry.startsWith(QStringLiteral("*\""))) {
            for (const char c : bytesOf(entry.mid(1)))
                result.append("write " + hexBytes(QByteArray(1, c)));
        } else {
            result.append(kWrite.match(entry).hasMatch() ? "write " + hexBytes(bytesOf(entry)) : entry);
        }
    }
    return result;
}

// The mirror as the window shows it: "." for an empty cell, "|" between the rows, "@" and the cell
// that has the focus.
QString mirrorPicture(DemoHarness& h)
{
    MirrorGrid* grid = h.currentAs<EscPosDemoWindow>()->mirrorGrid();
    QString picture;
    int focus = 0;
    for (int i = 1; i <= 40; ++i) {
        picture += grid->cellEdit(i)->text().isEmpty() ? QStringLiteral(".") : grid->cellEdit(i)->text();
        picture += i == 20 ? QStringLiteral("|") : QString();
        focus = h.current()->focusWidget() == grid->cellEdit(i) ? i : focus;
    }
    return picture + QStringLiteral("@%1").arg(focus);
}

const QString kEpson = QStringLiteral("Command6 Option1 Command1");
const QString kKd426 = QStringLiteral("Command7 Option2 Command1");
const QString kKd138 = QStringLiteral("Command8 Option2 Command1");
const QString kGreeting =
    QStringLiteral("0C | 1F 43 01 | \"-WELCOME- TEST MODE-\" | \"--YOU CAN CHANG ME--\"");
const QString kOpen1 = QStringLiteral("open COM1 9600,n,8,1 | ");
const QString kCancel = QStringLiteral("<cancel>");
const QString kEpsonTitle = QStringLiteral("ESC/poc command list");
const QString kKd426Title = QString::fromUtf8("KD426-繁體");

const QStringList kNone;

void row(const char* name, const QString& reach, const QString& steps, const QStringList& replies,
         const QString& golden, const QString& title, const QString& mirror = {})
{
    QTest::newRow(name) << reach << steps << replies << golden << title << mirror;
}

// The launcher, the port windows and the ESC/POS window.
void launcherAndCommandListRows()
{
    // The launcher and the port windows.
    row("models not included", "", "Command1 Command2 Command3 Command5", kNone,
        "box talvex_main: The KP-361 demonstration is not included in this program. | "
        "box talvex_main: The KP-248S demonstration is not included in this program. | "
        "box talvex_main: The KP-472 demonstration is not included in this program. | "
        "box talvex_main: The KP-593 demonstration is not included in this program.",
        "talvex_main");
    row("KD-317 port CANCEL ends", "", "Command6 Command2", kNone, "end", "PLEASE SELECT COMPORT");
    row("KD-426 port CANCEL ends", "", "Command7 Command2", kNone, "end", "PLEASE SELECT COMPORT");
    row("KD-138 port CANCEL returns", "", "Command8 Command2", kNone, "", "talvex_main");
    row("KD-426 ENTER tries the port", "", "Command7 Option5 Command1", kNone, "open COM5 9600,n,8,1 | close",
        kKd426Title);
    row("KD-138 ENTER tries the port", "", "Command8 Option10 Command1", kNone,
        "open COM10 9600,n,8,1 | close", "KD138 DEMO");
    row("port choice outlives windows", "Command8 Option4 Command2", "Command7 Command1 Command5", kNone,
        "open COM4 9600,n,8,1 | close | open COM4 9600,n,8,1 | 1B 3D 32 | 1F 0D | close", kKd426Title);
    row("settings typed", "", "Command6 Option3 boudrate:2400,e,7,2 Command1", kNone,
        "open COM3 2400,e,7,2 | " + kGreeting, kEpsonTitle);
    row("settings from the list", "", "Command6 Option3 boudrate:#3 Command1", kNone,
        "open COM3 38400,n,8,1 | " + kGreeting, kEpsonTitle, "-WELCOME- TEST MODE-|--YOU CAN CHANG ME--@0");
    row("command choice changes nothing", "", "Command6 Option3 command:7 Command1", kNone,
        "open COM3 9600,n,8,1 | " + kGreeting, kEpsonTitle);
    row("settings that do not parse", "", "Command6 Option3 boudrate:9600,x,8,1 Command1", kNone,
        "box Port Error: COM3 cannot be opened (error 8015):\nThe line settings \"9600,x,8,1\" are not "
        "valid.",
        "PLEASE SELECT COMPORT");
    row("system port", "", "Command6 Option2 system:1 Command1", kNone,
        "open /dev/ttyUSB0 9600,n,8,1 | " + kGreeting, kEpsonTitle);
    row("COM option after a system port", "", "Command6 system:1 Option7 Command1", kNone,
        "open COM7 9600,n,8,1 | " + kGreeting, kEpsonTitle);
    row("KP-685", "", "Command4", {"COM2"},
        "ask KP-685: which port is the printer on? (COM1, COM2, ... or the port's name) [COM1] | "
        "open COM2 9600,n,8,1 | 1B 21 11 | 1B 78 32 | AE F5 AB C2 B4 B5 A8 74 B2 CE AA D1 A5 F7 A6 B3 AD AD "
        "A4 BD A5 71 0A | "
        "1B 78 30 | B7 73 A5 5F A5 AB BD 64 A8 D2 B0 CF A5 DC BD 64 B8 F4 A4 40 AC 71 A4 40 B8 B9 0A | "
        "1B 21 21 | \"   TEL:+886-2-5550-1234\" 0A | \"   FAX:+886-2-5550-1235\" 0A | 1B 21 11 | close",
        "talvex_main");
    row("KP-685 offers the port chosen, cancelled", "Command8 Option6 Command2", "Command4", {kCancel},
        "ask KP-685: which port is the printer on? (COM1, COM2, ... or the port's name) [COM6]",
        "talvex_main");

    // The ESC/POS window.
    row("fixed buttons", kEpson,
        "Command1 Command2 Command3 Command4 Command5 Command6 Command7 Command8 Command10 Command13 "
        "Command17 "
        "Command19 Command20 Command21 Command22 Command23 Command24 Command25 Command26 Command27 Command29",
        kNone,
        "09 | 08 | 1F 0A | 0A | 1F 0D | 0D | 0B | 1F 42 | 0C | 1B 40 | 1F 43 01 | 1F 01 | 0C | 1F 03 | 1F 40",
        kEpsonTitle);
    row("END TEST", kEpson, "Command30", kNone, "1F 43 00 | close | end", kEpsonTitle);
    row("window closed", kEpson, "close", kNone, "close", "");
    const QString brightness = "ask PLS INPUT NUMBER(1 TO 4) FOR ADJUST BRIGHTNESS [1] | ";
    row("brightness", kEpson, "Command11 Command11 Command11 Command11", {kCancel, "2.5", "4.2", "0.9"},
        brightness + brightness + "1F 58 02 | " + brightness + brightness, kEpsonTitle);
    const QString blink = "ask PLS INPUT NUMBER(0 TO 255) FOR BLINK DISPLAY [0] | ";
    row("blink", kEpson, "Command12 Command12 Command12", {kCancel, "2 55", "256"},
        blink + "1F 45 00 | " + blink + "1F 45 FF | " + blink, kEpsonTitle);
    const QString line = "ask PLS CHOSE THE ROW THAT YOU WANT TO DISPLAY(1 OR 2 ONLY) [1] | ";
    const QString column = "ask PLS CHOSE THE COLUMN THAT YOU WANT TO DISPLAY(1 TO 20 ONLY) [1] | ";
    row("cursor position", kEpson, "Command9 Command9 Command9 Command9 Command9 Command9 Command9 Command9",
        {"3", "1.5", kCancel, "2", "0.4", "1", "20", "1", "21", "1", kCancel, "1", "0"},
        line + line + line + line + column + "1F 24 00 02 | " + line + column + "1F 24 14 01 | " + line +
            column + line + column + line + column,
        kEpsonTitle);
    const QString hour = "0C | ask PLS INPUT HOUR 0~23 [1] | ";
    const QString minute = "ask PLS INPUT MINIS 0~59 [1] | ";
    row("time", kEpson, "Command28 Command28 Command28 Command28 Command28 Command28",
        {kCancel, kCancel, "23", "59", "24", "-0.7", "1", "60", "1", "-0.6"},
        hour + minute + "1F 54 00 00 | " + hour + minute + "1F 54 17 3B | " + hour + hour + hour + minute +
            hour + minute,
        kEpsonTitle);
    const QString reverse = "0C | ask PLS INPUT CHARACTER FOR TEST OF REVERSE CHARACTER [14IJ] | ";
    row("reverse", kEpson, "Command16 Command16 Command16", {kCancel, "14IJ", QString::fromUtf8("ab中")},
        reverse + "1F 72 01 | pause 5000 | 1F 72 00 | " + reverse +
            "1F 72 01 | \"14IJ\" | pause 5000 | 1F 72 00 | " + reverse +
            QString::fromUtf8("box Text Error: The character \"中\" (U+4E2D) cannot be shown on the display: "
                              "it has no byte in the text encoding windows-1252.\nNothing more is sent."),
        kEpsonTitle);
}

// The mirror, and the code table and international set windows.
void mirrorAndCharacterSetRows()
{
    // The mirror follows the write mode; what is typed goes out as its byte.
    row("overwrite: cell 40 wraps to 1", kEpson, "Command17 key:40:*", kNone, "1F 01 | 2A", kEpsonTitle,
        "-WELCOME- TEST MODE-|--YOU CAN CHANG ME-*@1");
    row("vertical: row 2 moves up", kEpson, "Command18 key:39:*", kNone,
        "1F 02 | 0C | *\"--YOU CAN CHANG ME--\" | 1F 43 01 | 2A", kEpsonTitle,
        "--YOU CAN CHANG ME--|..................*.@40");
    row("vertical: empty cells are not written", kEpson, "Command18 key:23:X Command18", kNone,
        "1F 02 | 0C | *\"--YOU CAN CHANG ME--\" | 1F 43 01 | 58 | 1F 02 | 0C | 58 | 1F 43 01", kEpsonTitle,
        "..X.................|....................@0");
    row("horizontal: past cell 20 row 1 shifts", kEpson, "Command19 key:20:1 key:21:2 key:20:3 key:21:4",
        kNone, "0C | 1F 03 | 31 | 32 | 33 | 34", kEpsonTitle, "ELCOME- TEST MODE134| -YOU CAN CHANG ME--@20");
    row("horizontal: cell 40 keeps the focus", kEpson, "Command19 key:40:*", kNone, "0C | 1F 03 | 2A",
        kEpsonTitle, "-WELCOME- TEST MODE-|--YOU CAN CHANG ME-*@40");
    row("Delete writes nothing", kEpson, "delete:5", kNone, "", kEpsonTitle,
        "-WELCOME- TEST MODE-|--YOU CAN CHANG ME--@0");
    row("enter and clicks send home", kEpson, "enter:12 cell:33 type:a", kNone, "0B | 0B | 61", kEpsonTitle,
        "aWELCOME- TEST MODE-|--YOU CAN CHANG ME--@2");
    row("a key without a byte is ignored", kEpson, QString::fromUtf8("key:5:中 key:5:é"), kNone, "E9",
        kEpsonTitle, QString::fromUtf8("-WELéOME- TEST MODE-|--YOU CAN CHANG ME--@6"));
    row("return starts up again, in overwrite", kEpson, "Command19 Command15 Command2 key:40:*", kNone,
        "0C | 1F 03 | close | " + kOpen1 + "0C | 1F 24 03 01 | close | " + kOpen1 + kGreeting + " | 2A",
        kEpsonTitle, "-WELCOME- TEST MODE-|--YOU CAN CHANG ME-*@1");

    // The code table and international set windows.
    QString walks = "1B 74 00 | walk";
    const QStringList tables{"00", "01", "02", "03", "04", "05", "06", "07", "13", "10", "0C"};
    for (int option = 1; option <= tables.size(); ++option)
        walks += QStringLiteral(" | 1B 74 %1 | walk").arg(tables[option - 1]);
    row("code tables", kEpson + " Command14",
        "Command1 Option1 Command1 Option2 Command1 Option3 Command1 Option4 Command1 Option5 Command1 "
        "Option6 "
        "Command1 Option7 Command1 Option8 Command1 Option9 Command1 Option10 Command1 Option11 Command1",
        kNone, walks, "CHARACTER CODE TABLE");
    row("CHARACTER CLOSE resets, a new visit starts from table 0", kEpson + " Command14",
        "Option2 Command2 Command14 Command1", kNone,
        "1B 40 | close | " + kOpen1 + kGreeting + " | close | " + kOpen1 + "0C | 1B 74 00 | walk",
        "CHARACTER CODE TABLE");
    row("internation CANCEL", kEpson + " Command15", "Command2", kNone, "close | " + kOpen1 + kGreeting,
        kEpsonTitle);
    const QStringList sets{"U.S.A", "FRANCE", "GERMANY", "U.K",        "DENMARK I", "SWEDEN", "ITALY",
                           "SPAIN", "JAPAN",  "NORWAY",  "DENMARK II", "SLAWIE",    "RUSSIA"};
    QString steps = "Command1";
    QString shown = "0C | 1B 52 00 | 1F 24 05 01 \"U.S.A\" | 1F 24 05 02 | \"#$@[\\]^`{|}~\"";
    for (int set = 0; set < sets.size(); ++set) {
        steps += QStringLiteral(" Option%1 Command1").arg(set + 1);
        shown += QStringLiteral(" | 0C | 1B 52 %1 | 1F 24 05 01 \"%2\" | 1F 24 05 02 | \"#$@[\\]^`{|}~\"")
                     .arg(set, 2, 16, QLatin1Char('0'))
                     .toUpper()
                     .arg(sets[set]);
    }
    row("international sets", kEpson + " Command15", steps, kNone, shown, "Internation Character Sets");
}

// The four-line and one-line windows: each press opens the port and closes it again.
void modelDemoRows()
{
    const auto press = [](const QStringList& presses) {
        return "open COM2 9600,n,8,1 | " + presses.join(" | close | open COM2 9600,n,8,1 | ") + " | close";
    };
    const QString company = "1B 3D 32 | ask [TALVEX SYSTEM.,LTD] | ";
    row("KD-426 display lines", kKd426, "Command1 Command1 Command2 Command3 Command4",
        {kCancel, "Hello", "1", "abc", QString(30, 'x')},
        press({company + "1B 71 41 0D", company + "1B 71 41 \"Hello\" 0D",
               "1B 3D 32 | ask [1] | 1B 71 42 31 0D", "1B 3D 32 | ask [1] | 1B 71 43 \"abc\" 0D",
               "1B 3D 32 | ask [1] | 1B 71 44 \"" + QString(30, 'x') + "\" 0D"}),
        kKd426Title);
    row("KD-426 clear and double lines", kKd426, "Command5 Command6 Command7", {"AB", "AB"},
        press({"1B 3D 32 | 1F 0D", "1B 3D 32 | 1F 0D | ask [ TALVEX SYSTEM.,LTD ] | 1B 71 45 41 42 0D",
               "1B 3D 32 | 1F 0D | ask [     KD-426] | 1B 71 46 0E 41 42 0D"}),
        kKd426Title);
    row("KD-426 horizontal lines", kKd426, "Command9 Command10 Command11 Command12 Command13 Command14",
        QStringList(6, "Z"),
        press({company + "1B 71 47 5A 0D", company + "1B 71 48 5A 0D", company + "1B 71 49 5A 0D",
               company + "1B 71 4A 5A 0D", company + "1B 71 4B 5A 0D", company + "1B 71 4C 5A 0D"}),
        kKd426Title);
    const QString initial = "ask [     TALVEX SYSTEM.,LTD] | ";
    row("KD-426 modify initial display", kKd426, "Command15 Command15", {kCancel, kCancel, "A", "B"},
        press({"1B 3D 32 | 1F 0D | " + initial + "1B 71 45 0D | " + initial + "1B 71 46 0D | 1B 73",
               "1B 3D 32 | 1F 0D | " + initial + "1B 71 45 41 0D | " + initial + "1B 71 46 42 0D | 1B 73"}),
        kKd426Title);
    row("KD-426 time, the clock set to midnight between", kKd426, "Command16 clock:-32707 Command17", kNone,
        press({"1B 3D 32 | 1B 71 74 \"09:05:07\" 0D", "1B 3D 32 | 1B 71 54 \"00:00:00\" 0D"}), kKd426Title);
    row("KD-426 to printer", kKd426, "Command8", kNone,
        press({"1B 3D 31 0D | 1B 21 11 | \"WELCOME TO TALVEX SYSTEM.,LTD\" | 1B 64 01 | 1B 21 21 | "
               "\"   TEL:+886-2-5550-1234\" | \"   FAX:+886-2-5550-1235\" | 1B 21 11 | 1B 64 05"}),
        kKd426Title);
    row("KD-426 each press takes the settings in force", kKd426, "settings:19200,n,8,1 Command5", kNone,
        "open COM2 19200,n,8,1 | 1B 3D 32 | 1F 0D | close", kKd426Title);
    row("KD-426 reply without a byte", kKd426, "Command1", {QString::fromUtf8("台北")},
        press({company +
               QString::fromUtf8("box Text Error: The character \"台\" (U+53F0) cannot be shown on the "
                                 "display: it has no byte in the text encoding windows-1252.\nNothing "
                                 "more is sent.")}),
        kKd426Title);
    row("KD-426 reply in Big5", "Command7 encoding:Big5 Option2 Command1", "Command1",
        {QString::fromUtf8("台北")}, press({company + "1B 71 41 A5 78 A5 5F 0D"}), kKd426Title);
    row("KD-138", kKd138, "Command1 Command2 Command1", kNone,
        press({"1B 51 41 \"12345678901\" 0D", "0C 0D", "1B 51 41 \"12345678901\" 0D"}), "KD138 DEMO");
}

} // namespace

class TestDemoTranscripts : public QObject
{
    Q_OBJECT
private slots:
    void clicks_data();
    void clicks();
    void pauseHoldsWindow_data();
    void pauseHoldsWindow();
    void keysOutrunTheLine_data();
    void keysOutrunTheLine();
};

void TestDemoTranscripts::clicks_data()
{
    QTest::addColumn<QString>("reach"); // the steps to the window the row starts on, left out of the record
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QString>("title");  // the window the person is on afterwards
    QTest::addColumn<QString>("mirror"); // empty: not looked at
    launcherAndCommandListRows();
    mirrorAndCharacterSetRows();
    modelDemoRows();
}

void TestDemoTranscripts::clicks()
{
    QFETCH(QString, reach);
    QFETCH(QString, steps);
    QFETCH(QStringList, replies);
    QFETCH(QString, golden);
    QFETCH(QString, title);
    QFETCH(QString, mirror);
    DemoHarness h;
    h.perform(reach);
    h.clearLog();
    h.answer(replies);
    h.perform(steps);
    QCOMPARE(h.line.log, goldenRecord(golden));
    if (!title.isEmpty()) {
        QCOMPARE(h.currentTitle(), title);
        QCOMPARE(visibleWindows(), 1);
    }
    if (!mirror.isEmpty())
        QCOMPARE(mirrorPicture(h), mirror);
}

// While a pause is held the window's buttons take no clicks and it cannot be closed; afterwards it is
// usable again.
void TestDemoTranscripts::pauseHoldsWindow_data()
{
    QTest::addColumn<QString>("reach");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("pauses");
    QTest::newRow("reverse") << kEpson << "Command16" << 1;
    QTest::newRow("code-table walk") << kEpson + " Command14"
                                     << "Command1" << 3;
}

void TestDemoTranscripts::pauseHoldsWindow()
{
    QFETCH(QString, reach);
    QFETCH(QString, button);
    QFETCH(int, pauses);
    DemoHarness h;
    h.perform(reach);
    QWidget* window = h.current();
    auto* pressed = window->findChild<QAbstractButton*>(button);
    int held = 0;
    h.duringPause = [&] { held += !pressed->isEnabled() && !window->close() ? 1 : 0; };
    h.answer({"X"});
    h.click(button);
    QCOMPARE(held, pauses);
    QVERIFY(pressed->isEnabled());
    QCOMPARE(h.current(), window);
    QCOMPARE(h.line.openPorts, 1);
}

// Keys typed faster than the port work (a barcode scanner, a paste) are all kept and handled in order:
// the line, the mirror and its focus end as when the same keys come one by one, in every write mode.
void TestDemoTranscripts::keysOutrunTheLine_data()
{
    QTest::addColumn<QString>("start"); // the write mode and the cell the keys start in
    QTest::newRow("overwrite, past cell 40") << "key:30:x";
    QTest::newRow("vertical, past cell 40") << "Command18 key:30:x";
    QTest::newRow("horizontal, past cell 20") << "Command19 key:15:x";
}

void TestDemoTranscripts::keysOutrunTheLine()
{
    QFETCH(QString, start);
    QList<QStringList> ends;
    for (const QString typing : {"type:", "burst:"}) {
        DemoHarness h;
        h.perform(kEpson + " " + start + " " + typing + "HELLO_WORLD_12345");
        ends << h.line.log + QStringList{mirrorPicture(h)};
    }
    QCOMPARE(ends.last(), ends.first());
}

QTEST_MAIN(TestDemoTranscripts)
#include "test_demo_transcripts.moc"
