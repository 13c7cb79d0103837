// The KD-317 emulator fed byte sequences: cursor moves and the write modes at the edges, clear and
// initialise, code tables and international sets, brightness, blink and clock on a hand-moved clock,
// the self-test, what it does not understand, and random bytes.
#include "core/pacer.h"
#include "sim/kd317_display.h"
#include "sim/sim_log.h"

#include <QRandomGenerator>
#include <QTest>

using Mode = Kd317Display::WriteMode;

namespace {

// Simulated time set by hand, forwards or back.
class HandClock : public Pacer
{
public:
    double now() const override { return static_cast<double>(ms) / 1000.0; }
    double timeOfDay() const override { return now(); }
    void pump() override { ms += 1; }
    void sleep(int milliseconds) override { ms += milliseconds; }
    void advance(int milliseconds) { ms += milliseconds; }

    qint64 ms = 0;
};

QString Row(const QString& text)
{
    return text.leftJustified(Kd317Display::Columns, QLatin1Char(' '));
}

QByteArray Letters(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += char('A' + i % 26);
    }
    return bytes;
}

struct Fixture
{
    HandClock clock;
    SimLog log;
    Kd317Display display{clock, log};
    Fixture() { display.initialize(); }
};

} // namespace

class TestSimKd317 : public QObject
{
    Q_OBJECT
private slots:
    void screenAfterBytes_data();
    void screenAfterBytes();
    void commandsSplitAnywhere();
    void codeTables_data();
    void codeTables();
    void internationalSets_data();
    void internationalSets();
    void everySetChangesOnlyItsTwelvePoints();
    void settingsAndRefusals_data();
    void settingsAndRefusals();
    void blinkTiming_data();
    void blinkTiming();
    void clockRuns();
    void selfTestHoldsWhatArrives();
    void reverseMarksOnlyWhatIsWritten();
    void initializeRestoresPowerOn();
    void randomBytesNeverBreakIt();
};

void TestSimKd317::screenAfterBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<QString>("row2");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    const QByteArray full = Letters(40); // ABC...T on row 1, UVW...N on row 2
    QTest::newRow("text") << QByteArray("ABC") << "ABC"
                          << "" << 0 << 3;
    const QString first20 = QString::fromLatin1(Letters(20));
    QTest::newRow("overwrite: end of row 1 to row 2") << Letters(21) << first20 << "U" << 1 << 1;
    QTest::newRow("overwrite: end of row 2 to home")
        << full + "z"
        << "z" + first20.mid(1) << "UVWXYZABCDEFGHIJKLMN" << 0 << 1;
    QTest::newRow("vertical: waits past the end")
        << "\x1F\x02" + full << first20 << "UVWXYZABCDEFGHIJKLMN" << 1 << 19;
    QTest::newRow("vertical: next character scrolls") << "\x1F\x02" + full + "z"
                                                      << "UVWXYZABCDEFGHIJKLMN"
                                                      << "z" << 1 << 1;
    QTest::newRow("vertical: end of row 1 does not scroll")
        << "\x1F\x02" + Letters(21) << first20 << "U" << 1 << 1;
    QTest::newRow("horizontal: row pushed left") << "\x1F\x03" + Letters(22) << "CDEFGHIJKLMNOPQRSTUV"
                                                 << "" << 0 << 19;
    QTest::newRow("horizontal: stays on row 2") << QByteArray("\x1F\x03\x1F\x42") + Letters(21) << ""
                                                << "BCDEFGHIJKLMNOPQRSTU" << 1 << 19;
    QTest::newRow("HT") << QByteArray("AB\x09\x09") << "AB"
                        << "" << 0 << 4;
    QTest::newRow("HT overwrite at the end of row 2 goes home") << QByteArray("\x1F\x42\x1F\x0D\x09") << ""
                                                                << "" << 0 << 0;
    QTest::newRow("HT vertical at the end of row 2 scrolls")
        << "\x1F\x02" + Letters(20) + "\x1F\x42X\x1F\x0D\x09"
        << "X"
        << "" << 1 << 0;
    QTest::newRow("HT horizontal at the end of a row stays") << QByteArray("\x1F\x03\x1F\x0D\x09") << ""
                                                             << "" << 0 << 19;
    QTest::newRow("BS from row 2 to the end of row 1") << QByteArray("\x1F\x42\x08") << ""
                                                       << "" << 0 << 19;
    QTest::newRow("BS overwrite at home wraps to the end") << QByteArray("\x08") << ""
                                                           << "" << 1 << 19;
    QTest::newRow("BS vertical at home scrolls down") << QByteArray("\x1F\x02X\x0B\x08") << ""
                                                      << "X" << 0 << 19;
    QTest::newRow("BS horizontal at home stays") << QByteArray("\x1F\x03\x08") << ""
                                                 << "" << 0 << 0;
    QTest::newRow("LF keeps the column") << QByteArray("AB\x0A") << "AB"
                                         << "" << 1 << 2;
    QTest::newRow("LF overwrite on row 2 to row 1") << QByteArray("\x1F\x42Q\x0A") << ""
                                                    << "Q" << 0 << 1;
    QTest::newRow("LF vertical on row 2 scrolls") << QByteArray("\x1F\x02\x1F\x42Q\x0A") << "Q"
                                                  << "" << 1 << 1;
    QTest::newRow("US LF overwrite on row 1 to row 2") << QByteArray("AB\x1F\x0A") << "AB"
                                                       << "" << 1 << 2;
    QTest::newRow("US LF vertical on row 1 scrolls down") << QByteArray("\x1F\x02Q\x1F\x0A") << ""
                                                          << "Q" << 0 << 1;
    QTest::newRow("CR") << QByteArray("ABC\x0D") << "ABC"
                        << "" << 0 << 0;
    QTest::newRow("US CR") << QByteArray("\x1F\x42\x1F\x0D") << ""
                           << "" << 1 << 19;
    QTest::newRow("home") << QByteArray("ABC\x1F\x42\x0B") << "ABC"
                          << "" << 0 << 0;
    QTest::newRow("US $ column 5 row 2") << QByteArray("\x1F\x24\x05\x02X") << ""
                                         << "    X" << 1 << 5;
    QTest::newRow("US $ column 20 row 1") << QByteArray("\x1F\x24\x14\x01X") << "                   X"
                                          << "" << 1 << 0;
    QTest::newRow("US $ off the screen is ignored")
        << QByteArray("AB\x1F\x24\x15\x01\x1F\x24\x00\x01\x1F\x24\x01\x03", 14) << "AB"
        << "" << 0 << 2;
    QTest::newRow("clear homes") << QByteArray("ABC\x1F\x42XY\x0C") << ""
                                 << "" << 0 << 0;
    QTest::newRow("CAN clears the cursor row") << QByteArray("ABC\x1F\x42XY\x18") << "ABC"
                                               << "" << 1 << 0;
    QTest::newRow("NUL is filler") << QByteArray("\0A\0B", 4) << "AB"
                                   << "" << 0 << 2;
    QTest::newRow("greeting") << QByteArray("\x0C\x1F\x43\x01-WELCOME- TEST MODE---YOU CAN CHANG ME--")
                              << "-WELCOME- TEST MODE-"
                              << "--YOU CAN CHANG ME--" << 0 << 0;
}

void TestSimKd317::screenAfterBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, row1);
    QFETCH(QString, row2);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);
    Fixture f;
    f.display.feed(bytes);
    QCOMPARE(f.display.rowText(0), Row(row1));
    QCOMPARE(f.display.rowText(1), Row(row2));
    QCOMPARE(f.display.cursorRow(), cursorRow);
    QCOMPARE(f.display.cursorColumn(), cursorColumn);
}

// A command cut between two writes takes effect once its last byte arrives, as if it came whole.
void TestSimKd317::commandsSplitAnywhere()
{
    const QByteArray bytes(
        "\x1B\x74\x10\x1B\x52\x02\x1F\x24\x05\x02@\x80\x1F\x58\x02\x1F\x72\x01Z\x1F\x54\x0C\x1E"
        "\x1F\x43\x01");
    Fixture whole;
    whole.display.feed(bytes);
    for (int cut = 1; cut < bytes.size(); ++cut) {
        Fixture split;
        split.display.feed(bytes.left(cut));
        split.display.feed(bytes.mid(cut));
        QCOMPARE(split.display.frame().grid, whole.display.frame().grid);
        QCOMPARE(split.display.brightness(), 2);
        QCOMPARE(split.display.cursorOn(), true);
        QCOMPARE(split.log.total(), 0);
    }
    QCOMPARE(whole.display.rowText(1), QStringLiteral("    §€Z").leftJustified(15) + QStringLiteral("12:30"));
}

void TestSimKd317::codeTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");
    QTest::newRow("PC437 80") << 0 << 0x80 << "Ç";
    QTest::newRow("PC437 E1") << 0 << 0xE1 << "ß";
    QTest::newRow("PC437 B3") << 0 << 0xB3 << "│";
    QTest::newRow("Katakana B1") << 1 << 0xB1 << "ｱ";
    QTest::newRow("Katakana DF") << 1 << 0xDF << "ﾟ";
    QTest::newRow("PC850 9B") << 2 << 0x9B << "ø";
    QTest::newRow("PC860 84") << 3 << 0x84 << "ã";
    QTest::newRow("PC863 86") << 4 << 0x86 << "¶";
    QTest::newRow("PC865 9B") << 5 << 0x9B << "ø";
    QTest::newRow("WPC1252 80") << 16 << 0x80 << "€";
    QTest::newRow("WPC1252 81, a hole") << 16 << 0x81 << " ";
    QTest::newRow("WPC1252 E9") << 16 << 0xE9 << "é";
    QTest::newRow("PC858 D5") << 19 << 0xD5 << "€";
    QTest::newRow("PC866 80") << 7 << 0x80 << "А";
    QTest::newRow("PC737 80") << 12 << 0x80 << "Α";
    QTest::newRow("lower half is ASCII") << 1 << 0x41 << "A";
}

void TestSimKd317::codeTables()
{
    QFETCH(int, table);
    QFETCH(int, byte);
    QFETCH(QString, shown);
    Fixture f;
    f.display.feed(QByteArray("\x1B\x74") + char(table) + char(byte));
    QCOMPARE(f.display.codeTable(), table);
    QCOMPARE(f.display.rowText(0).left(1), shown);
    QCOMPARE(f.log.total(), 0);
}

void TestSimKd317::internationalSets_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("shown"); // what 23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E show
    QTest::newRow("U.S.A") << 0 << "#$@[\\]^`{|}~";
    QTest::newRow("FRANCE") << 1 << "#$à°ç§^`éùè¨";
    QTest::newRow("GERMANY") << 2 << "#$§ÄÖÜ^`äöüß";
    QTest::newRow("U.K") << 3 << "£$@[\\]^`{|}~";
    QTest::newRow("SWEDEN") << 5 << "#¤ÉÄÖÅÜéäöåü";
    QTest::newRow("SPAIN") << 7 << "₧$@¡Ñ¿^`¨ñ}~";
    QTest::newRow("JAPAN") << 8 << "#$@[¥]^`{|}~";
    QTest::newRow("DENMARK II") << 10 << "#$ÉÆØÅÜéæøåü";
    QTest::newRow("RUSSIA") << 12 << "№$ЮШЭЩЧюшэщч";
}

void TestSimKd317::internationalSets()
{
    QFETCH(int, set);
    QFETCH(QString, shown);
    Fixture f;
    f.display.feed(QByteArray("\x1B\x52") + char(set) + "#$@[\\]^`{|}~A\x80");
    QCOMPARE(f.display.internationalSet(), set);
    // The set changes the twelve points only: A stays A, and the code table still draws the upper half.
    QCOMPARE(f.display.rowText(0), Row(shown + QStringLiteral("AÇ")));
}

void TestSimKd317::everySetChangesOnlyItsTwelvePoints()
{
    const QByteArray points("#$@[\\]^`{|}~");
    for (int set = 0; set < 13; ++set) {
        Fixture f;
        f.display.feed(QByteArray("\x1B\x52") + char(set));
        QByteArray all;
        for (int byte = 0x20; byte < 0x7F; ++byte) {
            all += char(byte);
        }
        f.display.feed("\x1F\x03");
        for (const char byte : all) {
            f.display.feed("\x0C" + QByteArray(1, byte));
            const QString cell = f.display.rowText(0).left(1);
            if (!points.contains(byte)) {
                QCOMPARE(cell, QString(QLatin1Char(byte)));
            } else {
                QVERIFY2(cell.size() == 1,
                         qPrintable(QStringLiteral("set %1 byte %2").arg(set).arg(int(byte))));
            }
        }
    }
}

void TestSimKd317::settingsAndRefusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("codeTable");
    QTest::addColumn<int>("set");
    QTest::addColumn<bool>("cursorOn");
    QTest::addColumn<QStringList>("logged");

    QTest::newRow("brightness 1") << QByteArray("\x1F\x58\x01") << 1 << 0 << 0 << false << QStringList{};
    QTest::newRow("brightness 0 refused") << QByteArray("\x1F\x58\x02\x1F\x58\x00", 6) << 2 << 0 << 0 << false
                                          << QStringList{"KD-317: brightness takes 1 to 4 [1F 58 00]"};
    QTest::newRow("brightness 5 refused") << QByteArray("\x1F\x58\x05") << 4 << 0 << 0 << false
                                          << QStringList{"KD-317: brightness takes 1 to 4 [1F 58 05]"};
    QTest::newRow("table 99 refused") << QByteArray("\x1B\x74\x05\x1B\x74\x63") << 4 << 5 << 0 << false
                                      << QStringList{"KD-317: no such code table [1B 74 63]"};
    QTest::newRow("set 13 refused") << QByteArray("\x1B\x52\x0D") << 4 << 0 << 0 << false
                                    << QStringList{"KD-317: no such international set [1B 52 0D]"};
    QTest::newRow("cursor on then off")
        << QByteArray("\x1F\x43\x01\x1F\x43\x00", 6) << 4 << 0 << 0 << false << QStringList{};
    QTest::newRow("cursor 2 refused") << QByteArray("\x1F\x43\x01\x1F\x43\x02") << 4 << 0 << 0 << true
                                      << QStringList{"KD-317: cursor display takes 0 or 1 [1F 43 02]"};
    QTest::newRow("unknown control") << QByteArray("\x07") << 4 << 0 << 0 << false
                                     << QStringList{"KD-317: unknown control code [07]"};
    QTest::newRow("unknown ESC") << QByteArray("\x1B\x7A") << 4 << 0 << 0 << false
                                 << QStringList{"KD-317: unknown ESC command [1B 7A]"};
    QTest::newRow("unknown US") << QByteArray("\x1F\x99") << 4 << 0 << 0 << false
                                << QStringList{"KD-317: unknown US command [1F 99]"};
    QTest::newRow("time 24:00 refused") << QByteArray("\x1F\x54\x18\x00", 4) << 4 << 0 << 0 << false
                                        << QStringList{"KD-317: no such time of day [1F 54 18 00]"};
}

void TestSimKd317::settingsAndRefusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, brightness);
    QFETCH(int, codeTable);
    QFETCH(int, set);
    QFETCH(bool, cursorOn);
    QFETCH(QStringList, logged);
    Fixture f;
    // What follows a refused command is read as the next command: A lands at home.
    f.display.feed(bytes + "A");
    QCOMPARE(f.display.brightness(), brightness);
    QCOMPARE(f.display.frame().brightness, brightness);
    QCOMPARE(f.display.codeTable(), codeTable);
    QCOMPARE(f.display.internationalSet(), set);
    QCOMPARE(f.display.cursorOn(), cursorOn);
    QCOMPARE(f.log.entries(), logged);
    QCOMPARE(f.display.rowText(0), Row(QStringLiteral("A")));
    QVERIFY(!f.display.timeShown());
}

void TestSimKd317::blinkTiming_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<int>>("lit");  // times after the command, in ms, at which the screen is lit
    QTest::addColumn<QList<int>>("dark"); // and at which it is dark
    QTest::newRow("n = 10: 500 ms each")
        << 10 << QList<int>{0, 499, 1000, 1499, 2000} << QList<int>{500, 999, 1500};
    QTest::newRow("n = 1: 50 ms each") << 1 << QList<int>{0, 49, 100} << QList<int>{50, 99, 150};
    QTest::newRow("n = 254") << 254 << QList<int>{0, 12699, 25400} << QList<int>{12700, 25399};
    QTest::newRow("n = 0 stops") << 0 << QList<int>{0, 50, 500, 100000} << QList<int>{};
    QTest::newRow("n = 255 keeps it dark") << 255 << QList<int>{} << QList<int>{0, 12750, 100000};
}

void TestSimKd317::blinkTiming()
{
    QFETCH(int, n);
    QFETCH(QList<int>, lit);
    QFETCH(QList<int>, dark);
    Fixture f;
    // Blinking starts from the command, not from the clock's zero.
    f.clock.ms = 1234;
    f.display.feed("\x1F\x45\x07");
    f.clock.ms = 5000;
    f.display.feed(QByteArray("\x1F\x45") + char(n));
    QCOMPARE(f.display.blinkInterval(), n);
    for (const int t : lit) {
        f.clock.ms = 5000 + t;
        QVERIFY2(f.display.frame().lit, qPrintable(QStringLiteral("dark at %1 ms").arg(t)));
    }
    for (const int t : dark) {
        f.clock.ms = 5000 + t;
        QVERIFY2(!f.display.frame().lit, qPrintable(QStringLiteral("lit at %1 ms").arg(t)));
    }
}

void TestSimKd317::clockRuns()
{
    Fixture f;
    f.display.feed("ABC\x1F\x42"
                   "0123456789ABCDEFGHIJ\x1F\x54\x17\x3A");
    QVERIFY(f.display.timeShown());
    // At the right end of the lower row, over what is written there; the rest of the row stays.
    QCOMPARE(f.display.rowText(1), QStringLiteral("0123456789ABCDE23:58"));
    QCOMPARE(f.display.rowText(0), Row(QStringLiteral("ABC")));
    f.clock.advance(59999);
    QCOMPARE(f.display.rowText(1).right(5), QStringLiteral("23:58"));
    f.clock.advance(1);
    QCOMPARE(f.display.rowText(1).right(5), QStringLiteral("23:59"));
    f.clock.advance(60000);
    QCOMPARE(f.display.rowText(1).right(5), QStringLiteral("00:00"));
    f.display.feed("\x0C");
    QVERIFY(!f.display.timeShown());
    QCOMPARE(f.display.rowText(1), Row(QString()));
}

void TestSimKd317::selfTestHoldsWhatArrives()
{
    Fixture f;
    f.display.setLineSettings(QStringLiteral("19200,n,8,1"));
    f.display.feed("XYZ\x1F\x58\x02\x1F\x40HI");
    QVERIFY(f.display.selfTestRunning());
    QVERIFY(f.display.rowText(0).contains(QStringLiteral("SELF-TEST")));
    QVERIFY(f.display.rowText(1).contains(QStringLiteral("19200,N,8,1")));
    f.display.feed("J");
    f.clock.ms = Kd317Display::SelfTestPageMs;
    QVERIFY(f.display.rowText(0).startsWith(QStringLiteral("TABLE PC437")));
    f.clock.ms = Kd317Display::SelfTestPageMs * Kd317Display::SelfTestPages - 1;
    QVERIFY(f.display.selfTestRunning());
    QVERIFY(!f.display.rowText(0).contains(QLatin1Char('X')));
    f.clock.advance(1);
    QVERIFY(!f.display.selfTestRunning());
    // Ends as a power-on does, then shows what came meanwhile, in order.
    QCOMPARE(f.display.rowText(0), Row(QStringLiteral("HIJ")));
    QCOMPARE(f.display.brightness(), 4);
    QCOMPARE(f.log.total(), 0);
}

void TestSimKd317::reverseMarksOnlyWhatIsWritten()
{
    Fixture f;
    f.display.feed("\x0C\x1F\x72\x01"
                   "14IJ");
    QVERIFY(f.display.reverse());
    f.display.feed(QByteArray("\x1F\x72\x00", 3) + "K");
    QVERIFY(!f.display.reverse());
    const VfdFrame frame = f.display.frame();
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(frame.grid.at(0, column).reverse, column < 4);
    }
    QCOMPARE(f.display.rowText(0), Row(QStringLiteral("14IJK")));
}

void TestSimKd317::initializeRestoresPowerOn()
{
    Fixture f;
    f.display.feed("\x1F\x03\x1F\x58\x01\x1F\x45\x05\x1F\x72\x01\x1B\x74\x10\x1B\x52\x02\x1F\x43\x01"
                   "ABC\x1F\x54\x01\x02");
    f.display.feed("\x1B\x40");
    QCOMPARE(f.display.rowText(0), Row(QString()));
    QCOMPARE(f.display.writeMode(), Mode::Overwrite);
    QCOMPARE(f.display.brightness(), 4);
    QCOMPARE(f.display.blinkInterval(), 0);
    QCOMPARE(f.display.reverse(), false);
    QCOMPARE(f.display.codeTable(), 0);
    QCOMPARE(f.display.internationalSet(), 0);
    QCOMPARE(f.display.cursorOn(), false);
    QCOMPARE(f.display.timeShown(), false);
    QCOMPARE(f.display.cursorColumn(), 0);
}

void TestSimKd317::randomBytesNeverBreakIt()
{
    QRandomGenerator random(20240607);
    Fixture f;
    for (int write = 0; write < 3000; ++write) {
        QByteArray bytes(random.bounded(0, 12), '\0');
        for (char& byte : bytes) {
            // Half the bytes from the command-heavy range, so that commands meet each other often.
            byte = char(random.bounded(2) ? random.bounded(0, 0x20) : random.bounded(0, 0x100));
        }
        f.display.feed(bytes);
        f.clock.advance(random.bounded(0, 400));
        const VfdFrame frame = f.display.frame();
        QVERIFY(frame.cursorRow >= 0 && frame.cursorRow < Kd317Display::Rows);
        QVERIFY(frame.cursorColumn >= 0 && frame.cursorColumn < Kd317Display::Columns);
        QVERIFY(frame.brightness >= 1 && frame.brightness <= 4);
    }
    QVERIFY(f.log.total() > 0);
    QVERIFY(f.log.entries().size() <= SimLog::Capacity);
}

QTEST_GUILESS_MAIN(TestSimKd317)
#include "tst_sim_kd317.moc"
