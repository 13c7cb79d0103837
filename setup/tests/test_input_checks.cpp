// Every place where input from outside is checked, each case once: firmware, DEMO and title files
// (empty, tiny, at and past their limits, folders, unreadable, huge), title lines, line settings,
// port names that name no port. A refusal shows its box and sends nothing; a large file is never
// read whole. Unix only: an unreadable file is played by permissions, memory read with getrusage.
#include "core/qt_serial_link.h"
#include "core/wire_text.h"
#include "setup/messages/outcome_box.h"
#include "setup/operations/demo_file.h"
#include "setup/operations/demo_transfer.h"
#include "setup/operations/firmware_file.h"
#include "setup/operations/title_file.h"
#include "setup/operations/title_page.h"
#include "setup/tests/vfdctl_run.h"
#include "setup/tests/window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 kOneGigabyte = qint64(1) << 30;

// Peak resident memory of this process so far, in megabytes.
qint64 peakMemoryMb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Makes reads of a file fail while it lives. Permissions stop nobody who runs as root (as the CI
// does), so then the process takes the identity of the user "nobody" until the guard goes; the
// folder stays searchable, or the file would look missing.
struct ReadsFail
{
    explicit ReadsFail(const QString& path)
    {
        QFile::setPermissions(path, {});
        QFile::setPermissions(QFileInfo(path).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ExeOther);
        switched = ::geteuid() == 0 && ::seteuid(65534) == 0;
        works = !QFile(path).open(QIODevice::ReadOnly);
    }
    ~ReadsFail()
    {
        if (switched && ::seteuid(0) != 0)
            qFatal("cannot take back the root identity");
    }
    bool switched = false;
    bool works = false;
};

// The file that `entry` describes in the bench's folder, "[kind:]name": the bytes; "missing:" nothing;
// "folder:" a folder; "sparse:" the bytes followed by a hole up to 1 GB; "unreadable:" the bytes, made
// unreadable through `unreadable`.
QString makeFile(const Bench& bench, const QString& entry, const QByteArray& bytes,
                 std::optional<ReadsFail>& unreadable)
{
    const QString kind = entry.section(':', -2, -2), path = bench.dir.filePath(entry.section(':', -1));
    if (kind == "folder")
        QDir(bench.dir.path()).mkdir(entry.section(':', -1));
    else if (kind != "missing")
        bench.file(entry.section(':', -1), bytes);
    if (kind == "sparse" && !QFile(path).resize(kOneGigabyte))
        qFatal("cannot extend %s", qPrintable(path));
    if (kind == "unreadable")
        unreadable.emplace(path);
    return path;
}

// A refusal before the port opened: its critical box (starting with `box`), and nothing written.
void expectRefusedUnopened(const Bench& bench, const QString& box)
{
    QVERIFY2(bench.dialogs.messages().value(0).startsWith(box),
             qPrintable(bench.dialogs.messages().value(0)));
    QCOMPARE(bench.dialogs.messages().size(), 1);
    QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
    QVERIFY(bench.display.writes().isEmpty());
    QCOMPARE(bench.display.portName(), QString()); // never opened
}

} // namespace

class InputChecksTest : public QObject
{
    Q_OBJECT

private slots:
    // The checks in order: a name, ".wfu", a model, at most 48 KB, the CRC; the image of a file that
    // passed, with one 0x00 byte. "Open File" shows the refusal's box, and the path in upper case in the
    // file box, or "???" after a refused name.
    void firmwareFiles_data()
    {
        QTest::addColumn<QString>("name"); // "" chooses nothing
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message"); // the box shown, "" for none
        const QByteArray digits("123456789"), ab = wfuFile("AB");
        const QString open = "Open File Error !!", crc = "File CRC16 Check-Sum Error !!";
        const QString none = "No File Select, Please Try Again !!";
        const QString large = "File Size over 48K, Please Try Again !!";
        QTest::newRow("maker's name, any case") << "FW_VQ7146_V12.WFU" << wfuFile(imageBytes(1000)) << "";
        QTest::newRow("lower case, read as chosen") << "fw_vq7140.wfu" << wfuFile(imageBytes(10)) << "";
        QTest::newRow("VQ7152, .wfu inside") << "a_vq7152.wfu.bak" << wfuFile(imageBytes(10)) << "";
        QTest::newRow("49152 bytes, the limit") << "vq7146.wfu" << wfuFile(imageBytes(49150)) << "";
        QTest::newRow("49153 bytes") << "vq7146.wfu" << QByteArray(49153, 'x') << large;
        QTest::newRow("1 GB, sparse") << "sparse:vq7146.wfu" << QByteArray("x") << large;
        QTest::newRow("CRC of image + 0x00") << "vq7146.wfu" << digits + QByteArray::fromHex("D60A") << "";
        QTest::newRow("CRC of the image") << "vq7146.wfu" << digits + QByteArray::fromHex("4B37") << crc;
        QTest::newRow("3 bytes: one image byte") << "vq7146.wfu" << wfuFile("A") << "";
        QTest::newRow("2 bytes: no image") << "vq7146.wfu" << crc16(QByteArray(1, '\0')) << open;
        QTest::newRow("a folder") << "folder:vq7146.wfu" << QByteArray() << open;
        QTest::newRow("gone since chosen") << "missing:vq7146.wfu" << QByteArray() << open;
        QTest::newRow("unreadable") << "unreadable:vq7146.wfu" << ab << open;
        QTest::newRow("wrong extension")
            << "vq7146.bin" << ab << "File Extension Name Error, Please Try Again !!";
        QTest::newRow("no model in the name") << "update.wfu" << ab << "File Type Error, Please Try Again !!";
        QTest::newRow("a backslash is part of a name") << "vq7146\\update.wfu" << wfuFile("AB") << "";
        QTest::newRow("nothing chosen") << "" << QByteArray() << none;
        QTest::newRow("a folder path") << "folder:sub/" << QByteArray() << none;
    }
    void firmwareFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        WindowFixture w(1);
        std::optional<ReadsFail> unreadable;
        const QString path = name.isEmpty() ? QString() : makeFile(w, name, content, unreadable);
        if (unreadable && !unreadable->works)
            QSKIP("this process reads files whatever their permissions");
        const qint64 memoryBefore = peakMemoryMb();
        QElapsedTimer timer;
        timer.start();
        const FirmwareFileCheck check = checkFirmwareFile(path);
        QCOMPARE_LT(timer.elapsed(), 1000); // no more is read than the check needs
        QCOMPARE_LT(peakMemoryMb() - memoryBefore, 64);
        QCOMPARE(check.valid(), message.isEmpty());
        QCOMPARE(check.image, message.isEmpty() ? content.chopped(2) + '\0' : QByteArray());
        w.choose("ComOpenFile_0", path);
        QCOMPARE(w.dialogs.messages(),
                 message.isEmpty() ? QStringList() : QStringList{"File Ststus: " + message});
        const bool refusedName = message.startsWith("File Extension") || message.startsWith("File Type");
        QCOMPARE(w.find<QLineEdit>("Text1_0")->text(), refusedName ? "???" : path.toUpper());
    }

    // DEMO files: the check when the file is chosen, then "Write", which refuses a file too long to
    // announce, a folder or an unreadable file before anything is sent.
    void demoFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("checkBox"); // the box of the check, "" when accepted
        QTest::addColumn<QString>("writeBox"); // the box of "Write", "" when it writes
        const QString invalid = "File Ststus: InValid File!", illegal = "File Ststus: Illegal DEMO File!";
        const QString openError = "File Error: Open File Error !!";
        const QString tooLarge = "File Ststus: DEMO File too large!\r\n%1 bytes; the display takes at most "
                                 "69120 bytes (135 pages of 512). Nothing was written.";
        QTest::newRow("signature only")
            << "shop.dem" << QByteArray::fromHex("55AA5AA5") << QString() << QString();
        QTest::newRow("three bytes") << "shop.dem" << QByteArray::fromHex("55AA5A") << invalid << QString();
        QTest::newRow("missing") << "missing:shop.dem" << QByteArray() << invalid << QString();
        QTest::newRow("last signature byte wrong")
            << "shop.dem" << QByteArray::fromHex("55AA5AA4FFFF") << illegal << QString();
        QTest::newRow("69121 bytes") << "shop.dem" << demoBytes(69121) << QString() << tooLarge.arg(69121);
        QTest::newRow("1 GB, sparse")
            << "sparse:shop.dem" << demoBytes(1000) << QString() << tooLarge.arg(kOneGigabyte);
        QTest::newRow("a folder") << "folder:shop.dem" << QByteArray() << openError << openError;
        QTest::newRow("unreadable") << "unreadable:shop.dem" << demoBytes(1000) << openError << openError;
    }
    void demoFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, checkBox);
        QFETCH(QString, writeBox);
        Bench bench;
        std::optional<ReadsFail> unreadable;
        const QString path = makeFile(bench, name, content, unreadable);
        if (unreadable && !unreadable->works)
            QSKIP("this process reads files whatever their permissions");
        const qint64 memoryBefore = peakMemoryMb();
        const std::optional<Refusal> refusal = checkDemoFile(path);
        if (refusal)
            showRefusal(bench.dialogs, *refusal);
        QCOMPARE(bench.dialogs.messages(), checkBox.isEmpty() ? QStringList() : QStringList{checkBox});
        if (refusal && refusal->kind != Refusal::FileUnreadable)
            return; // "Write" cannot be pressed for it
        bench.dialogs.clear();
        const Outcome outcome = writeDemo(bench.access, path);
        showOutcome(bench.dialogs, outcome);
        QCOMPARE_LT(peakMemoryMb() - memoryBefore, 64);
        QCOMPARE(bool(outcome), writeBox.isEmpty());
        if (writeBox.isEmpty())
            QCOMPARE(bench.display.flash().demo, content.chopped(2));
        else
            expectRefusedUnopened(bench, writeBox);
    }

    // Title text files, in the default encoding unless named: the lines read (each cut to 20) and
    // "(complete)" when there are two, or that the file is not text (its box: test_profile).
    void titleFiles_data()
    {
        QTest::addColumn<QString>("encoding"); // "": the default; "sparse": the default, a 1 GB hole after
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("read");
        const QString upperLower = "Upper|Lower (complete)", firstSecond = "First|Second (complete)";
        const QString any; // the default encoding
        QTest::newRow("LF, third line ignored") << any << QByteArray("Upper\nLower\nThird\n") << upperLower;
        QTest::newRow("CR LF with BOM") << any << QByteArray("\xEF\xBB\xBFUpper\r\nLower\r\n") << upperLower;
        QTest::newRow("lone CR") << any << QByteArray("Upper\rLower") << upperLower;
        QTest::newRow("UTF-8") << any << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC\nx") << "Café €|x (complete)";
        QTest::newRow("windows-1252 file") << any << QByteArray("Caf\xE9\nx") << "Café|x (complete)";
        QTest::newRow("IBM866 file") << "IBM866" << QByteArray::fromHex("8fe0a8a2a5e20a8ca8e0")
                                     << "Привет|Мир (complete)";
        QTest::newRow("UTF-8 comes first") << "IBM866" << QByteArray("\xD0\x96\nx") << "Ж|x (complete)";
        QTest::newRow("neither UTF-8 nor Big5")
            << "Big5" << QByteArray("ab\xA4\ncd") << "t.txt is not text in Big5";
        QTest::newRow("empty second line") << any << QByteArray("a\n\n") << "a| (complete)";
        QTest::newRow("lines of 5000 cut to 20")
            << any << QByteArray(5000, 'a') + "\n" + QByteArray(5000, 'b')
            << QString(20, 'a') + "|" + QString(20, 'b') + " (complete)";
        QTest::newRow("wide character at the cut left out whole")
            << any << QByteArray(19, 'a') + "\U0001F600b\nx" << QString(19, 'a') + "|x (complete)";
        QTest::newRow("wide character ending at the cut kept")
            << any << QByteArray(18, 'a') + "\U0001F600b\nx" << QString(18, 'a') + "\U0001F600|x (complete)";
        // No title file is larger than 64 KB: a larger one is refused before it is read.
        QTest::newRow("64 KB, the limit")
            << any << QByteArray("First\nSecond\n").leftJustified(65536, 'x') << firstSecond;
        QTest::newRow("64 KB and one")
            << any << QByteArray("First\nSecond\n").leftJustified(65537, 'x') << "65537 bytes, too large";
        QTest::newRow("one line") << any << QByteArray("Only\n") << "Only";
        QTest::newRow("empty") << any << QByteArray() << "";
        QTest::newRow("binary") << any << QByteArray::fromHex("89504E470D0A1A0A0000000D") << "";
        QTest::newRow("two lines, then a 1 GB hole")
            << "sparse" << QByteArray("Upper\nLower\n") << "1073741824 bytes, too large";
    }
    void titleFiles()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, content);
        QFETCH(QString, read);
        Bench bench;
        std::optional<ReadsFail> unreadable;
        const QString path =
            makeFile(bench, encoding == "sparse" ? "sparse:t.txt" : "t.txt", content, unreadable);
        const bool own = !encoding.isEmpty() && encoding != "sparse";
        const WireEncoding named = own ? WireEncoding::fromName(encoding).value() : WireEncoding();
        QElapsedTimer timer;
        timer.start();
        const TitleFileLines lines = readTitleFile(path, named);
        QCOMPARE_LT(timer.elapsed(), 1000);
        const QString got = lines.lines.join('|') + (lines.complete() ? " (complete)" : "");
        const Refusal& why = lines.refusal;
        QCOMPARE(why.kind == Refusal::TitleFileNotText    ? why.subject + " is not text in " + why.reason
                 : why.kind == Refusal::TitleFileTooLarge ? QString::number(why.size) + " bytes, too large"
                                                          : got,
                 read);
        QVERIFY(readTitleFile(QString()).lines.isEmpty());
        QVERIFY(readTitleFile(bench.dir.path()).lines.isEmpty()); // a folder
    }

    // Title lines: Windows-1252 bytes filled up with spaces to 20, or refused before the port opens.
    void titleLines_data()
    {
        QTest::addColumn<QString>("lines");    // "line 1|line 2"
        QTest::addColumn<QByteArray>("block"); // the 40 bytes after the block's head; empty: refused
        QTest::addColumn<QString>("refusal");
        const QString ok;
        QTest::newRow("empty lines are spaces") << "|" << QByteArray(40, ' ') << ok;
        QTest::newRow("21 characters cut to 20")
            << "ABCDEFGHIJKLMNOPQRSTU| x" << QByteArray("ABCDEFGHIJKLMNOPQRST x").leftJustified(40, ' ')
            << ok;
        QTest::newRow("Windows-1252 bytes")
            << "Café 5€|£ü"
            << QByteArray("Caf\xE9 5\x80").leftJustified(20, ' ') + "\xA3\xFC" + QByteArray(18, ' ') << ok;
        QTest::newRow("Latin Extended in line 1")
            << "Gdańsk|ok" << QByteArray()
            << "Title Page: The character \"ń\" (U+0144) cannot be shown on the display: it has no byte "
               "in the text encoding windows-1252.\r\nNothing was sent; please change the line \"Gdańsk\".";
        QTest::newRow("CJK in line 2")
            << "ok|中文" << QByteArray() << "Title Page: The character \"中\" (U+4E2D) cannot";
    }
    void titleLines()
    {
        QFETCH(QString, lines);
        QFETCH(QByteArray, block);
        QFETCH(QString, refusal);
        const QString line1 = lines.section('|', 0, 0), line2 = lines.section('|', 1);
        Bench bench;
        QCOMPARE(titlePageBlock(line1, line2),
                 block.isEmpty() ? QByteArray() : QByteArray::fromHex("55AA5AA5200003") + block);
        const Outcome outcome = writeTitlePage(bench.access, line1, line2);
        showOutcome(bench.dialogs, outcome);
        QCOMPARE(bool(outcome), refusal.isEmpty());
        if (refusal.isEmpty())
            QCOMPARE(bench.display.flash().titleBlock.mid(7), block);
        else
            expectRefusedUnopened(bench, refusal);
    }

    // Port names that name no port: "Port Error" with the number and the system's words, nothing
    // written, exit status 1.
    void portNames_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        const QString missing = "Port Error: COM Port not Exist( 8002) !!";
        const QString openError = "Port Error: COM Port Open Error( 8010) !!";
        QTest::newRow("empty") << QString() << openError;
        QTest::newRow("garbage") << "#?*%$ \t\\" << missing;
        QTest::newRow("COM99999") << "COM99999" << missing;
        QTest::newRow("COM") << "COM" << openError;
        QTest::newRow("10,000 letters") << QString(10000, 'x') << missing;
        QTest::newRow("sim with a blank") << "sim " << missing;
        QTest::newRow("a file that is no port") << "/dev/null" << openError;
    }
    void portNames()
    {
        QFETCH(QString, port);
        QFETCH(QString, message);
        Bench bench;
        const VfdctlRun run = runVfdctl(bench, {"--port", port, "params", "erase"}, false,
                                        [] { return std::make_unique<QtSerialLink>(); });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.section('\n', 0, 0), message);
        QVERIFY(!run.err.section('\n', 1, 1).trimmed().isEmpty()); // the system's reason
        QVERIFY(bench.display.writes().isEmpty());
    }
};

QTEST_MAIN(InputChecksTest)
#include "test_input_checks.moc"
