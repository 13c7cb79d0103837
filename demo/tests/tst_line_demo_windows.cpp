// The four-line and one-line demonstrations: every button's bytes, the prompts, the clock, the printer.
#include "commands/maker_lines.h"
#include "demo_harness.h"

#include <QTest>

namespace {

const QString Cancel = QStringLiteral("<cancel>");
const QString Open = QStringLiteral("open COM2 9600,n,8,1");

QString text(const QString& text)
{
    return Hex(text.toLatin1());
}

} // namespace

class TestLineDemoWindows : public QObject
{
    Q_OBJECT
private slots:
    void kd426Buttons_data();
    void kd426Buttons();
    void toPrinter();
    void eachPressReopensWithSettingsInForce();
    void replyWithoutByteRefused();
    void kd138Buttons_data();
    void kd138Buttons();
};

void TestLineDemoWindows::kd426Buttons_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("defaults");
    QTest::addColumn<QStringList>("writes");
    const QString company = "TALVEX SYSTEM.,LTD";
    QTest::newRow("line 1 cancelled") << 1 << "DISPLAY LINE 1" << QStringList{Cancel} << QStringList{company}
                                      << QStringList{"1B 3D 32", "1B 71 41 0D"};
    QTest::newRow("line 1") << 1 << "DISPLAY LINE 1" << QStringList{"Hello"} << QStringList{company}
                            << QStringList{"1B 3D 32", "1B 71 41 " + text("Hello") + " 0D"};
    QTest::newRow("line 2") << 2 << "DISPLAY LINE 2" << QStringList{"1"} << QStringList{"1"}
                            << QStringList{"1B 3D 32", "1B 71 42 31 0D"};
    QTest::newRow("line 3") << 3 << "DISPLAY LINE 3" << QStringList{"abc"} << QStringList{"1"}
                            << QStringList{"1B 3D 32", "1B 71 43 61 62 63 0D"};
    QTest::newRow("line 4 long reply")
        << 4 << "DISPLAY LINE 4" << QStringList{QString(30, 'x')} << QStringList{"1"}
        << QStringList{"1B 3D 32", "1B 71 44 " + text(QString(30, 'x')) + " 0D"};
    QTest::newRow("clear") << 5 << "CLEAR DISPLAY" << QStringList{} << QStringList{}
                           << QStringList{"1B 3D 32", "1F 0D"};
    QTest::newRow("double 1") << 6 << "DOUBLE LINE 1" << QStringList{"AB"}
                              << QStringList{" TALVEX SYSTEM.,LTD "}
                              << QStringList{"1B 3D 32", "1F 0D", "1B 71 45 41 42 0D"};
    QTest::newRow("double 2") << 7 << "DOUBLE LINE 2" << QStringList{"AB"} << QStringList{"     KD-426"}
                              << QStringList{"1B 3D 32", "1F 0D", "1B 71 46 0E 41 42 0D"};
    QTest::newRow("horizontal 1") << 9 << "HORIZONTAL LINE1" << QStringList{"Z"} << QStringList{company}
                                  << QStringList{"1B 3D 32", "1B 71 47 5A 0D"};
    QTest::newRow("horizontal 2") << 10 << "HORIZONTAL LINE 2" << QStringList{"Z"} << QStringList{company}
                                  << QStringList{"1B 3D 32", "1B 71 48 5A 0D"};
    QTest::newRow("horizontal 3") << 11 << "HORIZONTAL LINE 3" << QStringList{"Z"} << QStringList{company}
                                  << QStringList{"1B 3D 32", "1B 71 49 5A 0D"};
    QTest::newRow("horizontal 4") << 12 << "HORIZONTAL LINE 4" << QStringList{"Z"} << QStringList{company}
                                  << QStringList{"1B 3D 32", "1B 71 4A 5A 0D"};
    QTest::newRow("horizontal double K") << 13 << "HORIZONTAL LINE1 OF DOUBLE" << QStringList{"Z"}
                                         << QStringList{company} << QStringList{"1B 3D 32", "1B 71 4B 5A 0D"};
    QTest::newRow("horizontal double L") << 14 << "HORIZONTAL LINE1 OF DOUBLE" << QStringList{"Z"}
                                         << QStringList{company} << QStringList{"1B 3D 32", "1B 71 4C 5A 0D"};
    QTest::newRow("modify both cancelled")
        << 15 << "MODIFY INITIAL DISPLAY" << QStringList{Cancel, Cancel}
        << QStringList{"     TALVEX SYSTEM.,LTD", "     TALVEX SYSTEM.,LTD"}
        << QStringList{"1B 3D 32", "1F 0D", "1B 71 45 0D", "1B 71 46 0D", "1B 73"};
    QTest::newRow("modify") << 15 << "MODIFY INITIAL DISPLAY" << QStringList{"A", "B"}
                            << QStringList{"     TALVEX SYSTEM.,LTD", "     TALVEX SYSTEM.,LTD"}
                            << QStringList{"1B 3D 32", "1F 0D", "1B 71 45 41 0D", "1B 71 46 42 0D", "1B 73"};
    QTest::newRow("time small") << 16 << "SHOW TIME SMALL" << QStringList{} << QStringList{}
                                << QStringList{"1B 3D 32", "1B 71 74 " + text("09:05:07") + " 0D"};
    QTest::newRow("time double") << 17 << "SHOW TIME DOUBLE" << QStringList{} << QStringList{}
                                 << QStringList{"1B 3D 32", "1B 71 54 " + text("09:05:07") + " 0D"};
}

void TestLineDemoWindows::kd426Buttons()
{
    QFETCH(int, number);
    QFETCH(QString, caption);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, defaults);
    QFETCH(QStringList, writes);
    DemoHarness h;
    h.reachKd426(2);
    QCOMPARE(h.currentTitle(), QString::fromUtf8("KD426-繁體"));
    h.clearLog();
    for (const QString& reply : replies) {
        h.dialogs.replies.push_back(reply == Cancel ? std::nullopt : std::optional<QString>(reply));
    }
    const QString name = QStringLiteral("Command%1").arg(number);
    QCOMPARE(h.button(name)->text(), caption);
    h.click(name);
    QStringList expected{Open};
    for (const QString& bytes : writes) {
        expected.append("write " + bytes);
    }
    expected.append("close");
    QCOMPARE(h.log, expected);
    QStringList shown;
    for (const ScriptedDialogs::Prompt& prompt : h.dialogs.prompts) {
        QVERIFY(prompt.prompt.isEmpty());
        QCOMPARE(prompt.title, QStringLiteral("vfddemo"));
        shown.append(prompt.defaultReply);
    }
    QCOMPARE(shown, defaults);
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestLineDemoWindows::toPrinter()
{
    DemoHarness h;
    h.reachKd426(2);
    h.clearLog();
    QCOMPARE(h.button("Command8")->text(), QStringLiteral("To printer"));
    h.click("Command8");
    QCOMPARE(h.writes(), (QStringList{"1B 3D 31 0D", "1B 21 11", text("WELCOME TO TALVEX SYSTEM.,LTD"),
                                      "1B 64 01", "1B 21 21", text(makerTelephoneLine()),
                                      text(makerFaxLine()), "1B 21 11", "1B 64 05"}));
    QCOMPARE(h.log.last(), QStringLiteral("close"));
}

void TestLineDemoWindows::eachPressReopensWithSettingsInForce()
{
    DemoHarness h;
    h.reachKd426(2);
    h.clearLog();
    h.click("Command5");
    h.context.state.DemoLineSettings = QStringLiteral("19200,n,8,1");
    h.click("Command5");
    QCOMPARE(h.log, (QStringList{Open, "write 1B 3D 32", "write 1F 0D", "close", "open COM2 19200,n,8,1",
                                 "write 1B 3D 32", "write 1F 0D", "close"}));
    QCOMPARE(h.line.openPorts, 0);
}

void TestLineDemoWindows::replyWithoutByteRefused()
{
    DemoHarness h;
    h.reachKd426(2);
    h.clearLog();
    h.dialogs.replies = {QString::fromUtf8("台北")};
    h.click("Command1");
    QCOMPARE(h.log, (QStringList{Open, "write 1B 3D 32", "close"}));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].title, QStringLiteral("Text Error"));
}

void TestLineDemoWindows::kd138Buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("input line 1") << "Command1"
                                  << "INPUT LINE 1"
                                  << "1B 51 41 " + text("12345678901") + " 0D";
    QTest::newRow("clear display") << "Command2"
                                   << "CLEAR DISPLAY"
                                   << "0C 0D";
}

void TestLineDemoWindows::kd138Buttons()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QString, bytes);
    DemoHarness h;
    h.reachKd138(2);
    QCOMPARE(h.currentTitle(), QStringLiteral("KD138 DEMO"));
    h.clearLog();
    QCOMPARE(h.button(button)->text(), caption);
    h.click(button);
    h.click(button);
    QCOMPARE(h.log, (QStringList{Open, "write " + bytes, "close", Open, "write " + bytes, "close"}));
    QVERIFY(h.dialogs.prompts.isEmpty());
}

QTEST_MAIN(TestLineDemoWindows)
#include "tst_line_demo_windows.moc"
