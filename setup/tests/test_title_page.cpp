// The power-on title page against the simulated display in virtual time: the block and its bytes
// on the wire, in order and at which speed, erase, failed acknowledgements, refused characters,
// and the reading of title text files.
#include "content_bench.h"
#include "operations/title_file.h"
#include "operations/title_page.h"
#include "presented.h"
#include "protocol/crc16.h"

#include <QDir>
#include <QTest>

using namespace content_test;

namespace {

const QByteArray kTitleHead = QByteArray::fromHex("55AA5AA5200003");

} // namespace

class TitlePageTest : public QObject
{
    Q_OBJECT

private slots:
    void writeSendsTheBlock_data()
    {
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QByteArray>("lines"); // the 40 bytes of the block after its head
        QTest::newRow("initial texts")
            << "***  User Define ***"
            << "***  Cover Page  ***" << QByteArray("***  User Define ******  Cover Page  ***");
        QTest::newRow("empty lines are spaces") << ""
                                                << "" << QByteArray(40, ' ');
        QTest::newRow("short lines filled up")
            << "Hello"
            << " World" << QByteArray("Hello                World              ");
        QTest::newRow("21 characters cut to 20")
            << "ABCDEFGHIJKLMNOPQRSTU"
            << "x" << QByteArray("ABCDEFGHIJKLMNOPQRSTx                   ");
        QTest::newRow("Windows-1252 bytes")
            << QString::fromUtf8("Caf\u00e9 5\u20ac") << QString::fromUtf8("\u00a3\u00fc")
            << (QByteArray("Caf\xE9 5\x80").leftJustified(20, ' ') +
                QByteArray("\xA3\xFC").leftJustified(20, ' '));
    }
    void writeSendsTheBlock()
    {
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QByteArray, lines);
        Bench bench;
        const QByteArray block = kTitleHead + lines;
        QCOMPARE(block.size(), 47);
        QCOMPARE(titlePageBlock(line1, line2), block);

        QVERIFY(Presented(bench.dialogs, writeTitlePage(bench.device, line1, line2)));

        const QByteArray expected = QByteArray("\x0C") + kSetupRequest + QByteArray::fromHex("1F4652") +
                                    QByteArray::fromHex("1F4643") + crc16(block) + QByteArray("\x2F") +
                                    block + kWriteOkLines + kRestart;
        QCOMPARE(bench.display.wire().toHex(' '), expected.toHex(' '));
        // One write each: the clear, the request, FR, FC, CRC, length, block, the three
        // confirmation writes, FR, F@.
        const auto writes = bench.display.writes();
        QCOMPARE(writes.size(), 12);
        QCOMPARE(writes.at(0).bytes, QByteArray("\x0C"));
        QCOMPARE(writes.at(0).settings, QString("9600,N,8,1"));
        QCOMPARE(writes.at(4).bytes, crc16(block));
        QCOMPARE(writes.at(6).bytes, block);
        QCOMPARE(writes.at(6).settings, QString("115200,N,8,1"));
        QCOMPARE(bench.display.flash().titleBlock, block);
        QCOMPARE(bench.dialogs.messages(), QStringList{kWriteOkBox});
        QCOMPARE(bench.display.restarts(), 1);
        QVERIFY(!bench.display.isOpen());
    }

    void initialTextsGiveTheKnownCrc()
    {
        Bench bench;
        QVERIFY(Presented(bench.dialogs,
                          writeTitlePage(bench.device, "***  User Define ***", "***  Cover Page  ***")));
        const QByteArray wire = bench.display.wire();
        const qsizetype fc = wire.indexOf(QByteArray::fromHex("1F4643"));
        QCOMPARE(wire.mid(fc + 3, 3).toHex(' '), QByteArray("7e 1d 2f"));
        QCOMPARE(wire.mid(fc + 6, 47).left(7), kTitleHead);
    }

    void eraseSendsNoClearBeforeTheRequest()
    {
        Bench bench;
        DisplayFlash flash;
        flash.titleBlock = titlePageBlock("A", "B");
        bench.display.setFlash(flash);

        QVERIFY(Presented(bench.dialogs, eraseTitlePage(bench.device)));

        const QByteArray expected = kSetupRequest + QByteArray::fromHex("1F46521F464300000000") +
                                    QByteArray("\x0C") + "*Flsah Erase OK !! *" + "**Display Restart **" +
                                    kRestart;
        QCOMPARE(bench.display.wire().toHex(' '), expected.toHex(' '));
        QCOMPARE(bench.display.writes().at(0).bytes, kSetupRequest);
        QVERIFY(bench.display.flash().titleBlock.isEmpty());
        QCOMPARE(bench.dialogs.messages(),
                 QStringList{"Port Status: Flash Erase OK !!\r\nDisplay will restart !!"});
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::NoIcon);
        QVERIFY(!bench.display.isOpen());
    }

    // The title frame refused after the setup request was acknowledged: the NAK lines reach the
    // display at the new speed. A refused setup request is one of the fault matrix's cases.
    void refusedTitleFrameShowsTheNakLines_data()
    {
        QTest::addColumn<bool>("erase");
        QTest::newRow("write") << false;
        QTest::newRow("erase") << true;
    }
    void refusedTitleFrameShowsTheNakLines()
    {
        QFETCH(bool, erase);
        Bench bench;
        bench.faults([&](auto& f) { f.acknowledgeFirst = 1; });

        QVERIFY(!(erase ? Presented(bench.dialogs, eraseTitlePage(bench.device))
                        : Presented(bench.dialogs, writeTitlePage(bench.device, "A", "B"))));

        const QByteArray wire = bench.display.wire();
        QVERIFY(wire.endsWith(kNakLines));
        QVERIFY(wire.contains(QByteArray::fromHex("1F4643")));
        QVERIFY(!wire.contains("Flash Write OK"));
        QVERIFY(!wire.contains("Erase OK"));
        QVERIFY(!wire.contains(QByteArray::fromHex("1F4640")));
        QCOMPARE(bench.display.screen(), (QStringList{"Flash Write NAK  ???", "Please Try Again ???"}));
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY(bench.dialogs.messages().first().startsWith("Display ack. failed: Process.3( "));
        QCOMPARE(bench.display.restarts(), 0);
        QVERIFY(!bench.display.isOpen());
    }

    void unshowableCharacterIsRefusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("character");
        QTest::newRow("Latin Extended in line 1") << QString::fromUtf8("Gda\u0144sk") << "ok"
                                                  << "U+0144";
        QTest::newRow("CJK in line 2") << "ok" << QString::fromUtf8("\u4e2d\u6587") << "U+4e2d";
        QTest::newRow("emoji") << QString::fromUtf8("Hi \U0001F600") << ""
                               << "U+1f600";
    }
    void unshowableCharacterIsRefusedBeforeAnythingIsSent()
    {
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QString, character);
        Bench bench;
        QVERIFY(titlePageBlock(line1, line2).isNull());

        QVERIFY(!Presented(bench.dialogs, writeTitlePage(bench.device, line1, line2)));

        QVERIFY(bench.display.writes().isEmpty());
        QVERIFY(!bench.display.isOpen());
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY(bench.dialogs.messages().first().startsWith("Title Page: "));
        QVERIFY2(bench.dialogs.messages().first().contains(character),
                 qPrintable(bench.dialogs.messages().first()));
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
    }

    void titleFileLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("complete");
        QTest::newRow("LF") << QByteArray("Upper\nLower\n") << QStringList{"Upper", "Lower"} << true;
        QTest::newRow("CR LF") << QByteArray("Upper\r\nLower\r\n") << QStringList{"Upper", "Lower"} << true;
        QTest::newRow("lone CR") << QByteArray("Upper\rLower") << QStringList{"Upper", "Lower"} << true;
        QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBFUpper\nLower") << QStringList{"Upper", "Lower"}
                             << true;
        QTest::newRow("UTF-8 text") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC\nx")
                                    << QStringList{"Caf\u00e9 \u20ac", "x"} << true;
        QTest::newRow("third line ignored") << QByteArray("a\nb\nc\n") << QStringList{"a", "b"} << true;
        QTest::newRow("empty second line") << QByteArray("a\n\n") << QStringList{"a", ""} << true;
        QTest::newRow("empty first line") << QByteArray("\nb") << QStringList{"", "b"} << true;
        QTest::newRow("long lines cut to 20")
            << QByteArray("123456789012345678901\nABCDEFGHIJKLMNOPQRSTUVWXYZ")
            << QStringList{"12345678901234567890", "ABCDEFGHIJKLMNOPQRST"} << true;
        QTest::newRow("wide character at the cut left out whole")
            << QByteArray("aaaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"
                          "b\nx")
            << QStringList{"aaaaaaaaaaaaaaaaaaa", "x"} << true;
        QTest::newRow("wide character ending at the cut kept")
            << QByteArray("aaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"
                          "b\nx")
            << QStringList{QString::fromUtf8("aaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"), "x"} << true;
        QTest::newRow("one line ending in a newline") << QByteArray("Only\n") << QStringList{"Only"} << false;
        QTest::newRow("one line") << QByteArray("Only") << QStringList{"Only"} << false;
        QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << QStringList{} << false;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << false;
        QTest::newRow("binary") << QByteArray::fromHex("55AA5AA50001FF0A0D") << QStringList{} << false;
    }
    void titleFileLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, lines);
        QFETCH(bool, complete);
        Bench bench;
        const TitleFileLines read = readTitleFile(bench.file("title.txt", content));
        QCOMPARE(read.lines, lines);
        QCOMPARE(read.complete(), complete);
    }

    void titleFileThatCannotBeOpened()
    {
        Bench bench;
        QVERIFY(readTitleFile(QString()).lines.isEmpty());
        QVERIFY(readTitleFile(bench.dir.filePath("missing.txt")).lines.isEmpty());
        QVERIFY(QDir(bench.dir.path()).mkdir("folder"));
        QVERIFY(readTitleFile(bench.dir.filePath("folder")).lines.isEmpty());
        showTitleFileError(bench.dialogs);
        QCOMPARE(bench.dialogs.messages(), QStringList{"File Error: Open File Error !!"});
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
    }

    void largeTitleFileIsReadOnlyAtItsBeginning()
    {
        Bench bench;
        QByteArray content = "First\nSecond\n" + QByteArray(8 * 1024 * 1024, 'x');
        const TitleFileLines read = readTitleFile(bench.file("big.txt", content));
        QCOMPARE(read.lines, (QStringList{"First", "Second"}));
        // Where the read stops inside a character, the file is still text: the euro signs start
        // at byte 14, so byte 65536 is the middle of one.
        content = "First\nSecond\nx";
        while (content.size() < 70 * 1024)
            content += "\xE2\x82\xAC";
        QCOMPARE(readTitleFile(bench.file("euros.txt", content)).lines, (QStringList{"First", "Second"}));
    }
};

QTEST_GUILESS_MAIN(TitlePageTest)
#include "test_title_page.moc"
