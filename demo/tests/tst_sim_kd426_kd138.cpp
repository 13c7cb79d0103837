// The KD-426 and KD-138 emulators: line letters, double and moving lines, the running clock, the saved
// initial display, the printer's receipt strip, the one-line model, and what they do not understand.
#include "core/pacer.h"
#include "sim/kd138_display.h"
#include "sim/kd426_display.h"
#include "sim/sim_log.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Moves the simulated time on to `ms` since it began.
void MoveTo(VirtualPacer& clock, qint64 ms)
{
    clock.advance(static_cast<int>(ms - clock.milliseconds()));
}

QString Row(const QString& text)
{
    return text.leftJustified(Kd426Display::Columns, QLatin1Char(' '));
}

QByteArray Line(char letter, const QByteArray& text)
{
    return QByteArray("\x1B\x71") + letter + text + '\x0D';
}

struct Fixture
{
    VirtualPacer clock;
    SimLog log;
    Kd426Display display{clock, log};
    Fixture() { display.feed("\x1B\x3D\x32\x1F\x0D"); }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < Kd426Display::Rows; ++row) {
            texts.append(display.rowText(row));
        }
        return texts;
    }
    QList<VfdCell::Height> heights() const
    {
        const VfdFrame frame = display.frame();
        QList<VfdCell::Height> result;
        for (int row = 0; row < Kd426Display::Rows; ++row) {
            result.append(frame.grid.at(row, 0).height);
        }
        return result;
    }
};

using Heights = QList<VfdCell::Height>;
constexpr auto S = VfdCell::Single;
constexpr auto T = VfdCell::DoubleTop;
constexpr auto B = VfdCell::DoubleBottom;

} // namespace

class TestSimKd426Kd138 : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void horizontalLineMoves();
    void clock_data();
    void clock();
    void initialDisplaySurvivesPowerOn();
    void printerStrip();
    void printerTakesNothingFromTheScreen();
    void kd426Refusals_data();
    void kd426Refusals();
    void kd138_data();
    void kd138();
    void randomBytesNeverBreakThem();
};

void TestSimKd426Kd138::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<Heights>("heights");

    QTest::newRow("four lines") << Line('A', "ONE") + Line('B', "TWO") + Line('C', "THREE") +
                                       Line('D', "FOUR")
                                << QStringList{"ONE", "TWO", "THREE", "FOUR"} << Heights{S, S, S, S};
    QTest::newRow("a line replaces only its row")
        << Line('B', "OLD") + Line('C', "KEPT") + Line('B', "NEW") << QStringList{"", "NEW", "KEPT", ""}
        << Heights{S, S, S, S};
    QTest::newRow("an empty line") << Line('A', "X") + Line('A', "") << QStringList{"", "", "", ""}
                                   << Heights{S, S, S, S};
    QTest::newRow("longer than the row is cut")
        << Line('D', "ABCDEFGHIJKLMNOPQRSTUVWXYZ") << QStringList{"", "", "", "ABCDEFGHIJKLMNOPQRST"}
        << Heights{S, S, S, S};
    QTest::newRow("double line 1") << Line('E', " TALVEX SYSTEM.,LTD ")
                                   << QStringList{" TALVEX SYSTEM.,LTD ", " TALVEX SYSTEM.,LTD ", "", ""}
                                   << Heights{T, B, S, S};
    QTest::newRow("double line 2 skips SO")
        << Line('F', "\x0E     KD-426") << QStringList{"", "", "     KD-426", "     KD-426"}
        << Heights{S, S, T, B};
    QTest::newRow("a line over a double takes both halves")
        << Line('E', "BIG") + Line('B', "SMALL") << QStringList{"", "SMALL", "", ""} << Heights{S, S, S, S};
    QTest::newRow("clear") << Line('A', "X") + Line('F', "Y") + "\x1F\x0D" << QStringList{"", "", "", ""}
                           << Heights{S, S, S, S};
    QTest::newRow("Big5 pairs, a lone upper byte blank")
        << Line('A', "\xA5\x78\x80\xA5\x5F") << QStringList{QString::fromUtf8("台 北"), "", "", ""}
        << Heights{S, S, S, S};
}

void TestSimKd426Kd138::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(Heights, heights);
    Fixture f;
    f.display.feed(bytes);
    for (QString& row : rows) {
        row = Row(row);
    }
    QCOMPARE(f.rows(), rows);
    QCOMPARE(f.heights(), heights);
    QCOMPARE(f.log.total(), 0);
}

void TestSimKd426Kd138::horizontalLineMoves()
{
    Fixture f;
    f.display.feed(Line('H', "HELLO"));
    const int step = Kd426Display::MarqueeStepMs;
    QCOMPARE(f.display.rowText(1), Row(QString()));
    MoveTo(f.clock, step - 1);
    QCOMPARE(f.display.rowText(1), Row(QString()));
    MoveTo(f.clock, step);
    QCOMPARE(f.display.rowText(1), Row(QString()).left(19) + QStringLiteral("H"));
    MoveTo(f.clock, 20 * step);
    QCOMPARE(f.display.rowText(1), Row(QStringLiteral("HELLO")));
    MoveTo(f.clock, 22 * step);
    QCOMPARE(f.display.rowText(1), Row(QStringLiteral("LLO")));
    // Round again once the text has crossed: 25 steps for twenty cells and five letters.
    MoveTo(f.clock, 25 * step);
    QCOMPARE(f.display.rowText(1), Row(QString()));
    MoveTo(f.clock, 26 * step);
    QCOMPARE(f.display.rowText(1), Row(QString()).left(19) + QStringLiteral("H"));
    // K runs across double line 1.
    f.display.feed(Line('K', "AB"));
    f.clock.advance(19 * step);
    QCOMPARE(f.display.rowText(0), QStringLiteral(" AB").leftJustified(20));
    QCOMPARE(f.heights(), (Heights{T, B, S, S}));
}

void TestSimKd426Kd138::clock_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<Heights>("heights");
    QTest::newRow("small") << 't' << Heights{S, S, S, S};
    QTest::newRow("double") << 'T' << Heights{S, T, B, S};
}

void TestSimKd426Kd138::clock()
{
    QFETCH(char, letter);
    QFETCH(Heights, heights);
    Fixture f;
    f.display.feed(Line('A', "GONE") + Line(letter, "23:59:58"));
    QCOMPARE(f.display.rowText(0), Row(QString()));
    const VfdFrame frame = f.display.frame();
    QCOMPARE(frame.grid.at(1, 6).height, heights[1]);
    QCOMPARE(frame.grid.at(2, 6).height, heights[2]);
    QCOMPARE(f.display.rowText(1), QStringLiteral("      23:59:58      "));
    f.clock.advance(999);
    QCOMPARE(f.display.rowText(1).mid(6, 8), QStringLiteral("23:59:58"));
    f.clock.advance(1);
    QCOMPARE(f.display.rowText(1).mid(6, 8), QStringLiteral("23:59:59"));
    f.clock.advance(1000);
    QCOMPARE(f.display.rowText(1).mid(6, 8), QStringLiteral("00:00:00"));
    // The next line command puts the clock away.
    f.display.feed(Line('D', "BACK"));
    QCOMPARE(f.display.timeSize(), Kd426Display::TimeSize::None);
    QCOMPARE(f.display.rowText(1), Row(QString()));
}

void TestSimKd426Kd138::initialDisplaySurvivesPowerOn()
{
    Fixture f;
    f.display.feed(Line('E', "     TALVEX") + Line('F', "  WELCOME") + "\x1B\x73" + Line('A', "LATER"));
    f.display.powerOn();
    QCOMPARE(f.rows(),
             (QStringList{Row("     TALVEX"), Row("     TALVEX"), Row("  WELCOME"), Row("  WELCOME")}));
    QCOMPARE(f.heights(), (Heights{T, B, T, B}));
    // A command cut off by the power going stays cut off.
    f.display.feed(QByteArray("\x1B\x71\x41HALF"));
    f.display.powerOn();
    f.display.feed("\x0D");
    QCOMPARE(f.display.rowText(0), Row("     TALVEX"));
}

// The bytes of "To printer", one write at a time as the window sends them.
void TestSimKd426Kd138::printerStrip()
{
    Fixture f;
    const QList<QByteArray> writes = {"\x1B\x3D\x31\x0D",
                                      "\x1B\x21\x11",
                                      "WELCOME TO TALVEX SYSTEM.,LTD",
                                      "\x1B\x64\x01",
                                      "\x1B\x21\x21",
                                      "   TEL:+886-2-5550-1234",
                                      "   FAX:+886-2-5550-1235",
                                      "\x1B\x21\x11",
                                      "\x1B\x64\x05"};
    for (const QByteArray& bytes : writes) {
        f.display.feed(bytes);
    }
    QVERIFY(f.display.printerAddressed());
    const ReceiptStrip& strip = f.display.receipt();
    // Double-width text takes two columns a character: 16 to the line on paper 32 wide.
    QCOMPARE(strip.lineTexts(), (QStringList{"WELCOME TO TALVEX SYSTEM.,LTD", "   TEL:+886-2-55",
                                             "50-1234   FAX:+8", "86-2-5550-1235", "", "", "", ""}));
    QCOMPARE(strip.lines()[0], (ReceiptStrip::Line{{"WELCOME TO TALVEX SYSTEM.,LTD", 0x11}}));
    QVERIFY(strip.lines()[1][0].doubleWidth());
    QVERIFY(!strip.lines()[0][0].doubleWidth());
    QVERIFY(strip.lines()[0][0].doubleHeight());
    QCOMPARE(strip.mode(), 0x11);
    QCOMPARE(f.log.total(), 0);
    // The screen is untouched, and ESC "=2" hands the line back to it.
    QCOMPARE(f.display.rowText(0), Row(QString()));
    f.display.feed("\x1B\x3D\x32" + Line('A', "DISPLAY"));
    QCOMPARE(f.display.rowText(0), Row("DISPLAY"));
    QCOMPARE(strip.lineTexts().size(), 8);
}

void TestSimKd426Kd138::printerTakesNothingFromTheScreen()
{
    Fixture f;
    // Split anywhere, even inside ESC "=", the same bytes reach the same places.
    const QByteArray bytes = "\x1B\x3D\x31\x0DPAPER\x0A\x1B\x3D\x32" + Line('B', "SCREEN");
    for (int cut = 1; cut < bytes.size(); ++cut) {
        Fixture split;
        split.display.feed(bytes.left(cut));
        split.display.feed(bytes.mid(cut));
        QCOMPARE(split.display.receipt().lineTexts(), QStringList{"PAPER"});
        QCOMPARE(split.display.rowText(1), Row("SCREEN"));
        QVERIFY(!split.display.printerAddressed());
        QCOMPARE(split.log.total(), 0);
    }
}

void TestSimKd426Kd138::kd426Refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("logged");
    QTest::newRow("unknown letter") << Line('Z', "X") << "KD-426: no such line letter [1B 71 5A]";
    QTest::newRow("bad time") << Line('t', "9:5") << "KD-426: not a time of day [1B 71 74 39 3A 35]";
    QTest::newRow("no such device") << QByteArray("\x1B\x3D\x33")
                                    << "KD-426: no such device to address [1B 3D 33]";
    QTest::newRow("text outside a line") << QByteArray("A") << "KD-426: not a command [41]";
    QTest::newRow("unknown US") << QByteArray("\x1F\x01") << "KD-426: unknown US command [1F 01]";
    QTest::newRow("control inside a line") << Line('A', "\x07") << "KD-426: control code inside a line [07]";
    QTest::newRow("printer's unknown ESC")
        << QByteArray("\x1B\x3D\x31\x1BZ") << "printer: unknown ESC command [1B 5A]";
}

void TestSimKd426Kd138::kd426Refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, logged);
    Fixture f;
    f.display.feed(bytes);
    QCOMPARE(f.log.entries(), QStringList{logged});
}

void TestSimKd426Kd138::kd138_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("logged");
    QTest::newRow("INPUT LINE 1") << QList<QByteArray>{"\x1B\x51\x41"
                                                       "12345678901\x0D"}
                                  << "12345678901" << 0;
    QTest::newRow("CLEAR DISPLAY") << QList<QByteArray>{"\x1B\x51\x41"
                                                        "12345678901\x0D",
                                                        "\x0C\x0D"}
                                   << "" << 0;
    QTest::newRow("a line replaces the whole row")
        << QList<QByteArray>{"\x1B\x51\x41LONGER LINE\x0D", "\x1B\x51\x41SHORT\x0D"} << "SHORT" << 0;
    QTest::newRow("cut at twenty") << QList<QByteArray>{"\x1B\x51\x41"
                                                        "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x0D"}
                                   << "ABCDEFGHIJKLMNOPQRST" << 0;
    QTest::newRow("split over writes") << QList<QByteArray>{"\x1B", "\x51",
                                                            "\x41"
                                                            "12",
                                                            "3\x0D"}
                                       << "123" << 0;
    QTest::newRow("plain characters at the cursor") << QList<QByteArray>{"AB\x0D"
                                                                         "C"}
                                                    << "CB" << 0;
    QTest::newRow("unknown ESC") << QList<QByteArray>{"\x1B\x51\x42X"} << "X" << 1;
    QTest::newRow("unknown control") << QList<QByteArray>{"\x01Y"} << "Y" << 1;
}

void TestSimKd426Kd138::kd138()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QString, text);
    QFETCH(int, logged);
    SimLog log;
    Kd138Display display(log);
    for (const QByteArray& bytes : writes) {
        display.feed(bytes);
    }
    QCOMPARE(display.text(), text.leftJustified(Kd138Display::Columns));
    QCOMPARE(log.total(), logged);
}

void TestSimKd426Kd138::randomBytesNeverBreakThem()
{
    QRandomGenerator random(4261380);
    VirtualPacer clock;
    SimLog log;
    Kd426Display kd426(clock, log);
    Kd138Display kd138(log);
    const QByteArray letters("\x1B\x1F\x0D\x0A=qQA12tT!dsEFGK");
    for (int write = 0; write < 3000; ++write) {
        QByteArray bytes(random.bounded(0, 12), '\0');
        for (char& byte : bytes) {
            byte = random.bounded(3) == 0 ? char(random.bounded(0, 0x100))
                                          : letters.at(random.bounded(int(letters.size())));
        }
        kd426.feed(bytes);
        kd138.feed(bytes);
        clock.advance(random.bounded(0, 700));
        QCOMPARE(kd426.frame().grid.rows(), Kd426Display::Rows);
        QCOMPARE(kd138.text().size(), Kd138Display::Columns);
        QVERIFY(kd426.receipt().lines().size() <= ReceiptStrip::MaxLines);
    }
    QVERIFY(log.total() > 0);
}

QTEST_GUILESS_MAIN(TestSimKd426Kd138)
#include "tst_sim_kd426_kd138.moc"
