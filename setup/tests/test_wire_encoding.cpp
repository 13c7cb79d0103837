// Text in the display's own code page at the front ends (the encoder itself: core's test_wire_text):
// vfdctl's --encoding, and the window's offer of the code page's encoding. Title files in either
// encoding are read in test_input_checks.
#include "setup/operations/title_file.h"
#include "setup/tests/device_bench.h"
#include "setup/tests/vfdctl_run.h"
#include "setup/tests/window_fixture.h"

#include <QComboBox>
#include <QTest>

class TestWireEncoding : public QObject
{
    Q_OBJECT
private slots:
    // Runs of vfdctl on one simulated display ("--port sim" first, ";" between runs): "status|a part of
    // stderr|the upper line that --show prints" (no upper line: nothing at all was written).
    void vfdctlEncoding_data()
    {
        QTest::addColumn<QStringList>("runs");
        QTest::addColumn<QString>("expected");
        const QString usage = "2|vfdctl: --encoding takes a text encoding such as windows-1252, ";
        QTest::newRow("unknown name")
            << QStringList{"--encoding", "x-bogus", "title", "erase"} << usage + "windows-1250|";
        QTest::newRow("UTF-16 keeps no ASCII")
            << QStringList{"--encoding", "UTF-16", "title", "erase"} << usage + "|";
        QTest::newRow("Big5 line of 21 bytes")
            << QStringList{"--encoding", "Big5", "title", "write", "中文中文中文中文中文a", "x"}
            << "2|takes 21 bytes in the text encoding Big5; a display line holds 20|";
        QTest::newRow("Cyrillic title on a Russian display")
            << QStringList{"params", "write",  "--code-page", "Russian", ";",      "--encoding",
                           "IBM866", "--show", "title",       "write",   "Привет", "Мир"}
            << "0||Привет              ";
    }
    void vfdctlEncoding()
    {
        QFETCH(QStringList, runs);
        QFETCH(QString, expected);
        const QStringList part = expected.split('|');
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        VfdctlRun run;
        for (const QString& arguments : runs.join('\n').split("\n;\n"))
            run = runVfdctl(QStringList{"--port", "sim"} + arguments.split('\n'), {&pacer, &display, {}});
        QCOMPARE(run.status, part[0].toInt());
        QVERIFY2(run.err.contains(part[1]), qPrintable(run.err));
        if (part[2].isEmpty())
            QVERIFY(display.writes().isEmpty());
        else
            QVERIFY2(run.out.contains('|' + part[2] + '|'), qPrintable(run.out));
    }

    // "picks > encoding": the code pages picked in order (a leading "encoding " picks the text encoding
    // itself), then the encoding the window uses.
    void codePageOffer_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("Russian") << "Russian > IBM866";
        QTest::newRow("Greek, then Katakana") << "Greek,Katakana > Shift_JIS";
        QTest::newRow("WPC1257") << "WPC1257 > windows-1257";
        QTest::newRow("PC850") << "PC850 > IBM850";
        QTest::newRow("Europe offers nothing") << "Europe > windows-1252";
        QTest::newRow("the person's own choice stays") << "encoding windows-1251,Greek > windows-1251";
    }
    void codePageOffer()
    {
        QFETCH(QString, row);
        const QString encoding = row.section(" > ", 1);
        WindowFixture w(0);
        for (const QString& pick : row.section(" > ", 0, 0).split(',')) {
            const bool own = pick.startsWith("encoding ");
            auto* list = w.find<QComboBox>(own ? "CmbTextEncoding" : "CmbCodePageSelect");
            list->setCurrentText(pick.mid(own ? 9 : 0));
            emit list->activated(list->currentIndex());
        }
        QCOMPARE(w.find<QComboBox>("CmbTextEncoding")->currentText(), encoding);
        QCOMPARE(w.window->selection().encoding.name(), encoding);
    }
};

QTEST_MAIN(TestWireEncoding)
#include "test_wire_encoding.moc"
