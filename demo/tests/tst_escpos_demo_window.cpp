// The ESC/POS demonstration: start-up, every command button, the prompts, the pause, the mirror.
#include "demo_harness.h"
#include "windows/escpos_demo_window.h"
#include "windows/mirror_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {

const QString Greeting1Hex = QStringLiteral("2D 57 45 4C 43 4F 4D 45 2D 20 54 45 53 54 20 4D 4F 44 45 2D");
const QString Greeting2Hex = QStringLiteral("2D 2D 59 4F 55 20 43 41 4E 20 43 48 41 4E 47 20 4D 45 2D 2D");
const QString Cancel = QStringLiteral("<cancel>");

QLineEdit* Cell(DemoHarness& h, int index)
{
    return h.currentAs<EscPosDemoWindow>()->mirrorGrid()->cellEdit(index);
}

// Types into a mirror cell and waits until what it sent has gone out.
void Type(DemoHarness& h, QLineEdit* cell, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(cell, &press);
    h.settle();
}

QString Row(DemoHarness& h, int row)
{
    QString text;
    for (int c = 1; c <= 20; ++c) {
        const QString cell = h.currentAs<EscPosDemoWindow>()->mirror().cell(c + 20 * (row - 1));
        text += cell.isEmpty() ? QStringLiteral(".") : cell;
    }
    return text;
}

} // namespace

class TestEscPosDemoWindow : public QObject
{
    Q_OBJECT
private slots:
    void startUpGreets();
    void fixedButtons_data();
    void fixedButtons();
    void promptedButtons_data();
    void promptedButtons();
    void reversePauseHoldsWindow();
    void typingFollowsMode_data();
    void typingFollowsMode();
    void enterAndClickSendHome();
    void keyWithoutByteIgnored();
    void verticalShiftSkipsEmptyCells();
    void returnRunsStartUpAgain();
};

void TestEscPosDemoWindow::startUpGreets()
{
    DemoHarness h;
    h.reachEpson(3);
    QCOMPARE(h.log, (QStringList{"open COM3 9600,n,8,1", "write 0C", "write 1F 43 01",
                                 "write " + Greeting1Hex, "write " + Greeting2Hex}));
    QCOMPARE(Row(h, 1), QStringLiteral("-WELCOME-.TEST.MODE-").replace('.', ' '));
    QCOMPARE(Row(h, 2), QStringLiteral("--YOU CAN CHANG ME--"));
    QCOMPARE(Cell(h, 40)->text(), QStringLiteral("-"));
    QCOMPARE(h.currentAs<EscPosDemoWindow>()->writeMode(), MirrorMode::Overwrite);
}

void TestEscPosDemoWindow::fixedButtons_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("writes");
    const QStringList none;
    QTest::newRow("1") << 1 << "Move cursou right" << QStringList{"09"};
    QTest::newRow("2") << 2 << "Move cursor left" << QStringList{"08"};
    QTest::newRow("3") << 3 << "Move cursor up" << QStringList{"1F 0A"};
    QTest::newRow("4") << 4 << "Move cursor down" << QStringList{"0A"};
    QTest::newRow("5") << 5 << "Move cursor to right-most position" << QStringList{"1F 0D"};
    QTest::newRow("6") << 6 << "Move cursor to left-most position" << QStringList{"0D"};
    QTest::newRow("7") << 7 << "Move cursor to home position" << QStringList{"0B"};
    QTest::newRow("8") << 8 << "Move cursor to bottom position" << QStringList{"1F 42"};
    QTest::newRow("10") << 10 << "Clear display screen" << QStringList{"0C"};
    QTest::newRow("13") << 13 << "Initialize display" << QStringList{"1B 40", "1F 43 01"};
    QTest::newRow("17") << 17 << "Specify overwrite mode" << QStringList{"1F 01"};
    QTest::newRow("19") << 19 << "Specify horizontal scroll mode" << QStringList{"0C", "1F 03"};
    QTest::newRow("20") << 20 << "Define download characters" << none;
    QTest::newRow("24") << 24 << "Select  peripheral device(chang to printer)" << none;
    QTest::newRow("27") << 27 << "Execute self-test" << QStringList{"1F 40"};
    QTest::newRow("29") << 29 << "Display time continuously" << none;
    QTest::newRow("30") << 30 << "END TEST" << QStringList{"1F 43 00"};
}

void TestEscPosDemoWindow::fixedButtons()
{
    QFETCH(int, number);
    QFETCH(QString, caption);
    QFETCH(QStringList, writes);
    DemoHarness h;
    h.reachEpson();
    h.clearLog();
    const QString name = QStringLiteral("Command%1").arg(number);
    QCOMPARE(h.button(name)->text(), caption);
    h.click(name);
    QCOMPARE(h.writes(), writes);
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(h.line.openPorts, number == 30 ? 0 : 1);
    QCOMPARE(h.ended, number == 30 ? 1 : 0);
}

void TestEscPosDemoWindow::promptedButtons_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("traffic");
    QTest::addColumn<QStringList>("prompts");
    const QString brightness = "PLS INPUT NUMBER(1 TO 4) FOR ADJUST BRIGHTNESS|1";
    const QString blink = "PLS INPUT NUMBER(0 TO 255) FOR BLINK DISPLAY|0";
    const QString row = "PLS CHOSE THE ROW THAT YOU WANT TO DISPLAY(1 OR 2 ONLY)|1";
    const QString column = "PLS CHOSE THE COLUMN THAT YOU WANT TO DISPLAY(1 TO 20 ONLY)|1";
    const QString hour = "PLS INPUT HOUR 0~23|1";
    const QString minute = "PLS INPUT MINIS 0~59|1";
    const QString reverse = "PLS INPUT CHARACTER FOR TEST OF REVERSE CHARACTER|14IJ";

    QTest::newRow("brightness cancelled")
        << 11 << QStringList{Cancel} << QStringList{} << QStringList{brightness};
    QTest::newRow("brightness 2.5") << 11 << QStringList{"2.5"} << QStringList{"1F 58 02"}
                                    << QStringList{brightness};
    QTest::newRow("brightness 4.2") << 11 << QStringList{"4.2"} << QStringList{} << QStringList{brightness};
    QTest::newRow("blink cancelled") << 12 << QStringList{Cancel} << QStringList{"1F 45 00"}
                                     << QStringList{blink};
    QTest::newRow("blink 255") << 12 << QStringList{"2 55"} << QStringList{"1F 45 FF"} << QStringList{blink};
    QTest::newRow("blink 256") << 12 << QStringList{"256"} << QStringList{} << QStringList{blink};
    QTest::newRow("row 3") << 9 << QStringList{"3"} << QStringList{} << QStringList{row};
    QTest::newRow("row 1.5") << 9 << QStringList{"1.5"} << QStringList{} << QStringList{row};
    QTest::newRow("row cancelled") << 9 << QStringList{Cancel} << QStringList{} << QStringList{row};
    QTest::newRow("row 2 column 0.4")
        << 9 << QStringList{"2", "0.4"} << QStringList{"1F 24 00 02"} << QStringList{row, column};
    QTest::newRow("row 1 column 20") << 9 << QStringList{"1", "20"} << QStringList{"1F 24 14 01"}
                                     << QStringList{row, column};
    QTest::newRow("row 1 column 21") << 9 << QStringList{"1", "21"} << QStringList{}
                                     << QStringList{row, column};
    QTest::newRow("row 1 column cancelled")
        << 9 << QStringList{"1", Cancel} << QStringList{} << QStringList{row, column};
    QTest::newRow("time both cancelled")
        << 28 << QStringList{Cancel, Cancel} << QStringList{"0C", "1F 54 00 00"} << QStringList{hour, minute};
    QTest::newRow("time 23:59") << 28 << QStringList{"23", "59"} << QStringList{"0C", "1F 54 17 3B"}
                                << QStringList{hour, minute};
    QTest::newRow("hour 24") << 28 << QStringList{"24"} << QStringList{"0C"} << QStringList{hour};
    QTest::newRow("hour -0.7 rounds to -1")
        << 28 << QStringList{"-0.7"} << QStringList{"0C"} << QStringList{hour};
    QTest::newRow("minute 60") << 28 << QStringList{"1", "60"} << QStringList{"0C"}
                               << QStringList{hour, minute};
    QTest::newRow("minute -0.6") << 28 << QStringList{"1", "-0.6"} << QStringList{"0C"}
                                 << QStringList{hour, minute};
    QTest::newRow("reverse cancelled")
        << 16 << QStringList{Cancel} << QStringList{"0C", "1F 72 01", "pause 5000", "1F 72 00"}
        << QStringList{reverse};
    QTest::newRow("reverse 14IJ") << 16 << QStringList{"14IJ"}
                                  << QStringList{"0C", "1F 72 01", "31 34 49 4A", "pause 5000", "1F 72 00"}
                                  << QStringList{reverse};
    QTest::newRow("reverse refused") << 16 << QStringList{QString::fromUtf8("ab中")} << QStringList{"0C"}
                                     << QStringList{reverse};
}

void TestEscPosDemoWindow::promptedButtons()
{
    QFETCH(int, number);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, traffic);
    QFETCH(QStringList, prompts);
    DemoHarness h;
    h.reachEpson();
    h.clearLog();
    for (const QString& reply : replies) {
        h.dialogs.replies.push_back(reply == Cancel ? std::nullopt : std::optional<QString>(reply));
    }
    h.click(QStringLiteral("Command%1").arg(number));
    QCOMPARE(h.traffic(), traffic);
    QStringList shown;
    for (const ScriptedDialogs::Prompt& prompt : h.dialogs.prompts) {
        shown.append(prompt.prompt + "|" + prompt.defaultReply);
        QCOMPARE(prompt.title, QStringLiteral("vfddemo"));
    }
    QCOMPARE(shown, prompts);
    QCOMPARE(h.line.openPorts, 1);
    QCOMPARE(h.currentTitle(), QStringLiteral("ESC/poc command list"));
}

void TestEscPosDemoWindow::reversePauseHoldsWindow()
{
    DemoHarness h;
    h.reachEpson();
    QWidget* window = h.current();
    bool enabledDuringPause = true;
    bool closedDuringPause = true;
    h.duringPause = [&] {
        enabledDuringPause = window->isEnabled();
        closedDuringPause = window->close();
    };
    const qint64 before = h.ms();
    h.dialogs.replies = {QStringLiteral("X")};
    h.click("Command16");
    QVERIFY(!enabledDuringPause);
    QVERIFY(!closedDuringPause);
    QCOMPARE(h.ms() - before, 5000);
    QVERIFY(window->isEnabled());
    QCOMPARE(h.current(), window);
    QCOMPARE(h.line.openPorts, 1);
}

void TestEscPosDemoWindow::typingFollowsMode_data()
{
    QTest::addColumn<QString>("modeButton");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QStringList>("modeWrites");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<QString>("row2");
    QTest::addColumn<int>("focus");
    const QString g1 = QStringLiteral("-WELCOME- TEST MODE-");
    const QString g2 = QStringLiteral("--YOU CAN CHANG ME--");
    QTest::newRow("overwrite 40") << "Command17" << 40 << QStringList{"1F 01"} << g1 << "--YOU CAN CHANG ME-*"
                                  << 1;
    QTest::newRow("vertical 39") << "Command18" << 39 << QStringList{} << g2 << "..................*." << 40;
    QTest::newRow("horizontal 40") << "Command19" << 40 << QStringList{"0C", "1F 03"} << g1
                                   << "--YOU CAN CHANG ME-*" << 40;
    QTest::newRow("horizontal 21") << "Command19" << 21 << QStringList{"0C", "1F 03"}
                                   << "WELCOME- TEST MODE-*"
                                   << " -YOU CAN CHANG ME--" << 20;
}

void TestEscPosDemoWindow::typingFollowsMode()
{
    QFETCH(QString, modeButton);
    QFETCH(int, cell);
    QFETCH(QStringList, modeWrites);
    QFETCH(QString, row1);
    QFETCH(QString, row2);
    QFETCH(int, focus);
    DemoHarness h;
    h.reachEpson();
    h.click(modeButton);
    if (modeButton == "Command18") {
        // The vertical button has moved row 2 up and left row 2 empty.
        QCOMPARE(Row(h, 1), QStringLiteral("--YOU CAN CHANG ME--"));
        QCOMPARE(Row(h, 2), QStringLiteral("...................."));
    } else {
        QCOMPARE(h.traffic().mid(4), modeWrites);
    }
    h.clearLog();
    QApplication::setActiveWindow(h.current());
    QVERIFY(QTest::qWaitForWindowActive(h.current()));
    Type(h, Cell(h, cell), QStringLiteral("*"));
    QCOMPARE(h.writes(), QStringList{"2A"});
    QCOMPARE(Row(h, 1), row1);
    QCOMPARE(Row(h, 2), row2);
    QCOMPARE(h.currentAs<EscPosDemoWindow>()->mirror().focus(), focus);
    QCOMPARE(QApplication::focusWidget(), Cell(h, focus));
    QCOMPARE(Cell(h, cell)->text(), h.currentAs<EscPosDemoWindow>()->mirror().cell(cell));
}

void TestEscPosDemoWindow::enterAndClickSendHome()
{
    DemoHarness h;
    h.reachEpson();
    QApplication::setActiveWindow(h.current());
    QVERIFY(QTest::qWaitForWindowActive(h.current()));
    h.clearLog();
    QTest::keyClick(Cell(h, 12), Qt::Key_Return);
    h.settle();
    QCOMPARE(h.writes(), QStringList{"0B"});
    QCOMPARE(QApplication::focusWidget(), Cell(h, 1));
    QCOMPARE(Cell(h, 12)->text(), QStringLiteral("E"));

    h.clearLog();
    QTest::mouseClick(Cell(h, 33), Qt::LeftButton);
    h.settle();
    QCOMPARE(h.writes(), QStringList{"0B"});
    QCOMPARE(QApplication::focusWidget(), Cell(h, 1));

    // An ordinary key typed with the keyboard goes out as its byte.
    h.clearLog();
    QTest::keyClicks(Cell(h, 1), QStringLiteral("a"));
    h.settle();
    QCOMPARE(h.writes(), QStringList{"61"});
    QCOMPARE(Cell(h, 1)->text(), QStringLiteral("a"));
}

void TestEscPosDemoWindow::keyWithoutByteIgnored()
{
    DemoHarness h;
    h.reachEpson();
    h.clearLog();
    Type(h, Cell(h, 5), QString::fromUtf8("中"));
    QVERIFY(h.writes().isEmpty());
    QCOMPARE(Cell(h, 5)->text(), QStringLiteral("C"));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(Cell(h, 5), &del);
    h.settle();
    QVERIFY(h.writes().isEmpty());
    Type(h, Cell(h, 5), QString::fromUtf8("é"));
    QCOMPARE(h.writes(), QStringList{"E9"});
}

void TestEscPosDemoWindow::verticalShiftSkipsEmptyCells()
{
    DemoHarness h;
    h.reachEpson();
    h.clearLog();
    h.click("Command18");
    QStringList expected{"1F 02", "0C"};
    for (const char c : QByteArray("--YOU CAN CHANG ME--")) {
        expected.append(Hex(QByteArray(1, c)));
    }
    expected.append("1F 43 01");
    QCOMPARE(h.writes(), expected);

    // Row 2 is now empty; one character in cell 23 is all the next shift writes.
    Type(h, Cell(h, 23), QStringLiteral("X"));
    h.clearLog();
    h.click("Command18");
    QCOMPARE(h.writes(), (QStringList{"1F 02", "0C", "58", "1F 43 01"}));
    QCOMPARE(Row(h, 1), QStringLiteral("..X................."));
    QCOMPARE(Row(h, 2), QStringLiteral("...................."));
    QCOMPARE(h.currentAs<EscPosDemoWindow>()->writeMode(), MirrorMode::Vertical);
}

void TestEscPosDemoWindow::returnRunsStartUpAgain()
{
    DemoHarness h;
    h.reachEpson();
    h.click("Command19");
    QCOMPARE(h.currentAs<EscPosDemoWindow>()->writeMode(), MirrorMode::Horizontal);
    h.clearLog();
    h.click("Command15");
    h.click("Command2");
    QCOMPARE(h.log, (QStringList{"close", "open COM1 9600,n,8,1", "write 0C", "write 1F 24 03 01", "close",
                                 "open COM1 9600,n,8,1", "write 0C", "write 1F 43 01",
                                 "write " + Greeting1Hex, "write " + Greeting2Hex}));
    QCOMPARE(h.currentAs<EscPosDemoWindow>()->writeMode(), MirrorMode::Overwrite);
}

QTEST_MAIN(TestEscPosDemoWindow)
#include "tst_escpos_demo_window.moc"
