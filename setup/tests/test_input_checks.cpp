// Every place where input from outside is checked, each case once: firmware, DEMO and title files
// (empty, tiny, at and past their limits, folders, unreadable, huge), title lines, line settings,
// port names that name no port. A refusal shows its box and sends nothing; a large file is never
// read whole. Unix only: an unreadable file is played by permissions, memory read with getrusage.
#include "core/line_settings.h"
#include "core/qt_serial_link.h"
#include "device_bench.h"
#include "gui/outcome_box.h"
#include "operations/demo_file.h"
#include "operations/demo_transfer.h"
#include "operations/firmware_file.h"
#include "operations/title_file.h"
#include "operations/title_page.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

namespace {

enum class Kind { Bytes, Missing, Folder, Unreadable, Sparse };
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

// A file of the given kind in the bench's folder: the bytes, nothing, a folder, the bytes made
// unreadable (with a ReadsFail), or the bytes followed by a hole up to 1 GB.
QString makeFile(const Bench& bench, const QString& name, Kind kind, const QByteArray& bytes)
{
    const QString path = bench.dir.filePath(name);
    if (kind == Kind::Folder)
        QDir(bench.dir.path()).mkdir(name);
    else if (kind != Kind::Missing)
        bench.file(name, bytes);
    if (kind == Kind::Sparse) {
        QFile file(path);
        if (!file.resize(kOneGigabyte))
            qFatal("cannot extend %s", qPrintable(path));
    }
    return path;
}

} // namespace

class InputChecksTest : public QObject
{
    Q_OBJECT

private slots:
    // The checks in order: a name, ".wfu", a model, at most 48 KB, the CRC. The box shows the path in
    // upper case at once, "???" after a refused name; the image (with one 0x00 byte) is held once read.
    void firmwareFiles_data()
    {
        QTest::addColumn<QString>("name"); // "" chooses nothing
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message"); // the box shown, "" for none
        const QByteArray digits("123456789");
        const QString open = "Open File Error !!", crc = "File CRC16 Check-Sum Error !!";
        const QString none = "No File Select, Please Try Again !!";
        const QString large = "File Size over 48K, Please Try Again !!";
        const int b = int(Kind::Bytes);
        QTest::newRow("maker's name, any case")
            << "FW_VQ7146_V12.WFU" << b << wfuFile(imageBytes(1000)) << QString();
        QTest::newRow("lower case, read as chosen")
            << "fw_vq7140.wfu" << b << wfuFile(imageBytes(10)) << QString();
        QTest::newRow("VQ7152, .wfu inside")
            << "a_vq7152.wfu.bak" << b << wfuFile(imageBytes(10)) << QString();
        QTest::newRow("49152 bytes, the limit")
            << "vq7146.wfu" << b << wfuFile(imageBytes(49150)) << QString();
        QTest::newRow("49153 bytes") << "vq7146.wfu" << b << QByteArray(49153, 'x') << large;
        QTest::newRow("1 GB, sparse") << "vq7146.wfu" << int(Kind::Sparse) << QByteArray("x") << large;
        QTest::newRow("CRC of image + 0x00")
            << "vq7146.wfu" << b << digits + QByteArray::fromHex("D60A") << QString();
        QTest::newRow("CRC of the image") << "vq7146.wfu" << b << digits + QByteArray::fromHex("4B37") << crc;
        QTest::newRow("CRC bytes swapped")
            << "vq7146.wfu" << b << digits + QByteArray::fromHex("0AD6") << crc;
        QTest::newRow("3 bytes: one image byte") << "vq7146.wfu" << b << wfuFile("A") << QString();
        QTest::newRow("2 bytes: no image") << "vq7146.wfu" << b << crc16(QByteArray(1, '\0')) << open;
        QTest::newRow("empty") << "vq7146.wfu" << b << QByteArray() << open;
        QTest::newRow("a folder") << "vq7146.wfu" << int(Kind::Folder) << QByteArray() << open;
        QTest::newRow("gone since chosen") << "vq7146.wfu" << int(Kind::Missing) << QByteArray() << open;
        QTest::newRow("unreadable") << "vq7146.wfu" << int(Kind::Unreadable) << wfuFile("AB") << open;
        QTest::newRow("wrong extension")
            << "vq7146.bin" << b << wfuFile("AB") << "File Extension Name Error, Please Try Again !!";
        QTest::newRow("no model in the name")
            << "update.wfu" << b << wfuFile("AB") << "File Type Error, Please Try Again !!";
        QTest::newRow("nothing chosen") << QString() << b << QByteArray() << none;
        QTest::newRow("a folder path") << "sub/" << int(Kind::Folder) << QByteArray() << none;
    }
    void firmwareFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        Bench bench;
        const QString path = name.isEmpty() ? QString() : makeFile(bench, name, Kind(kind), content);
        std::optional<ReadsFail> unreadable;
        if (Kind(kind) == Kind::Unreadable && !unreadable.emplace(path).works)
            QSKIP("this process reads files whatever their permissions");
        QStringList shown;
        const qint64 memoryBefore = peakMemoryMb();
        QElapsedTimer timer;
        timer.start();
        const FirmwareFileCheck check =
            validateFirmwareFile(path, bench.dialogs, [&](const QString& text) { shown << text; });
        QCOMPARE_LT(timer.elapsed(), 1000); // no more is read than the check needs
        QCOMPARE_LT(peakMemoryMb() - memoryBefore, 64);
        QCOMPARE(check.FirmwareFileValid, message.isEmpty());
        QCOMPARE(bench.dialogs.messages(),
                 message.isEmpty() ? QStringList() : QStringList{"File Ststus: " + message});
        if (!message.isEmpty())
            QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
        const bool read = message.isEmpty() || message.startsWith("File CRC16");
        const QByteArray notRead("<not read>");
        QCOMPARE(check.FirmwareImage.value_or(notRead), read ? content.chopped(2) + '\0' : notRead);
        const bool refusedName = message.startsWith("File Extension") || message.startsWith("File Type");
        QCOMPARE(shown, refusedName ? (QStringList{path.toUpper(), "???"}) : QStringList{path.toUpper()});
        QCOMPARE(check.shownText, shown.last());
    }

    // DEMO files: the check when the file is chosen, then "Write", which refuses a file too long to
    // announce, a folder or an unreadable file before anything is sent.
    void demoFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("checkBox"); // the box of the check, "" when accepted
        QTest::addColumn<QString>("writeBox"); // the box of "Write", "" when it writes
        const QString invalid = "File Ststus: InValid File!", illegal = "File Ststus: Illegal DEMO File!";
        const QString openError = "File Error: Open File Error !!";
        const QString tooLarge = "File Ststus: DEMO File too large!\r\n%1 bytes; the display takes at most "
                                 "69120 bytes (135 pages of 512). Nothing was written.";
        const int bytes = int(Kind::Bytes);
        QTest::newRow("signature only") << bytes << QByteArray::fromHex("55AA5AA5") << QString() << QString();
        QTest::newRow("three bytes") << bytes << QByteArray::fromHex("55AA5A") << invalid << QString();
        QTest::newRow("empty") << bytes << QByteArray() << invalid << QString();
        QTest::newRow("missing") << int(Kind::Missing) << QByteArray() << invalid << QString();
        QTest::newRow("last signature byte wrong")
            << bytes << QByteArray::fromHex("55AA5AA4FFFF") << illegal << QString();
        QTest::newRow("69120 bytes, the limit") << bytes << demoBytes(69120) << QString() << QString();
        QTest::newRow("69121 bytes") << bytes << demoBytes(69121) << QString() << tooLarge.arg(69121);
        QTest::newRow("1 GB, sparse")
            << int(Kind::Sparse) << demoBytes(1000) << QString() << tooLarge.arg(kOneGigabyte);
        QTest::newRow("a folder") << int(Kind::Folder) << QByteArray() << openError << openError;
        QTest::newRow("unreadable") << int(Kind::Unreadable) << demoBytes(1000) << openError << openError;
    }
    void demoFiles()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, checkBox);
        QFETCH(QString, writeBox);
        Bench bench;
        const QString path = makeFile(bench, "shop.dem", Kind(kind), content);
        std::optional<ReadsFail> unreadable;
        if (Kind(kind) == Kind::Unreadable && !unreadable.emplace(path).works)
            QSKIP("this process reads files whatever their permissions");
        const qint64 memoryBefore = peakMemoryMb();
        const DemoFileCheck check = checkDemoFile(path);
        showDemoFileCheck(bench.dialogs, check);
        QCOMPARE(bench.dialogs.messages(), checkBox.isEmpty() ? QStringList() : QStringList{checkBox});
        if (check == DemoFileCheck::Invalid || check == DemoFileCheck::Illegal)
            return; // "Write" cannot be pressed for it
        bench.dialogs.clear();
        const Outcome outcome = writeDemo(bench.access, path);
        showOutcome(bench.dialogs, outcome);
        QCOMPARE_LT(peakMemoryMb() - memoryBefore, 64);
        QCOMPARE(bool(outcome), writeBox.isEmpty());
        if (writeBox.isEmpty()) {
            QCOMPARE(bench.display.flash().demo, content.chopped(2));
        } else {
            QCOMPARE(bench.dialogs.messages(), QStringList{writeBox});
            QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
            QVERIFY(bench.display.writes().isEmpty());
            QCOMPARE(bench.display.portName(), QString()); // never opened
        }
    }

    // The name part of a chosen path, by the platform's separators, for the DEMO box and the firmware check.
    void fileNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("folder path") << "/a/b/FW_VQ7146.wfu" << QString("FW_VQ7146.wfu");
        QTest::newRow("bare name") << "shop.dem" << QString("shop.dem");
        QTest::newRow("folder only") << "/a/b/" << QString();
        QTest::newRow("a backslash is part of a name") << "/fw/a\\b.wfu" << QString("a\\b.wfu");
    }
    void fileNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(demoFileName(path), name);
        QCOMPARE(lastPathComponent(path), name);
    }

    // Title text files: the lines read (each cut to 20), complete when there are two.
    void titleFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("sparse");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("complete");
        QTest::newRow("LF, third line ignored")
            << QByteArray("Upper\nLower\nThird\n") << false << QStringList{"Upper", "Lower"} << true;
        QTest::newRow("CR LF with BOM")
            << QByteArray("\xEF\xBB\xBFUpper\r\nLower\r\n") << false << QStringList{"Upper", "Lower"} << true;
        QTest::newRow("lone CR") << QByteArray("Upper\rLower") << false << QStringList{"Upper", "Lower"}
                                 << true;
        QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC\nx") << false
                               << QStringList{"Caf\u00e9 \u20ac", "x"} << true;
        QTest::newRow("empty second line") << QByteArray("a\n\n") << false << QStringList{"a", ""} << true;
        QTest::newRow("empty first line") << QByteArray("\nb") << false << QStringList{"", "b"} << true;
        QTest::newRow("lines of 5000 cut to 20")
            << QByteArray(5000, 'a') + "\n" + QByteArray(5000, 'b') << false
            << QStringList{QString(20, 'a'), QString(20, 'b')} << true;
        QTest::newRow("wide character at the cut left out whole")
            << QByteArray("aaaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"
                          "b\nx")
            << false << QStringList{QString(19, 'a'), "x"} << true;
        QTest::newRow("wide character ending at the cut kept")
            << QByteArray("aaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"
                          "b\nx")
            << false << QStringList{QString::fromUtf8("aaaaaaaaaaaaaaaaaa\xF0\x9F\x98\x80"), "x"} << true;
        QTest::newRow("two lines and 8 MB more") << QByteArray("First\nSecond\n") + QByteArray(8 << 20, 'x')
                                                 << false << QStringList{"First", "Second"} << true;
        // The read stops at 64 KB inside a euro sign: still text.
        QTest::newRow("read cut inside a character")
            << QByteArray("First\nSecond\nx") + QByteArray("\xE2\x82\xAC").repeated(24000) << false
            << QStringList{"First", "Second"} << true;
        QTest::newRow("one line") << QByteArray("Only\n") << false << QStringList{"Only"} << false;
        QTest::newRow("a first line of 100,000") << QByteArray(100000, 'a') + "\nb\n"
                                                 << false << QStringList{QString(20, 'a')} << false;
        QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << false << QStringList{} << false;
        QTest::newRow("empty") << QByteArray() << false << QStringList{} << false;
        QTest::newRow("binary") << QByteArray::fromHex("89504E470D0A1A0A0000000D") << false << QStringList{}
                                << false;
        QTest::newRow("two lines, then a 1 GB hole")
            << QByteArray("Upper\nLower\n") << true << QStringList{} << false;
    }
    void titleFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, sparse);
        QFETCH(QStringList, lines);
        QFETCH(bool, complete);
        Bench bench;
        const QString path = makeFile(bench, "title.txt", sparse ? Kind::Sparse : Kind::Bytes, content);
        QElapsedTimer timer;
        timer.start();
        const TitleFileLines read = readTitleFile(path);
        QCOMPARE_LT(timer.elapsed(), 1000);
        QCOMPARE(read.lines, lines);
        QCOMPARE(read.complete(), complete);
        QVERIFY(readTitleFile(QString()).lines.isEmpty());
        QVERIFY(readTitleFile(bench.dir.path()).lines.isEmpty()); // a folder
    }

    // Title lines: Windows-1252 bytes filled up with spaces to 20, or refused before the port opens.
    void titleLines_data()
    {
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QByteArray>("lines"); // the 40 bytes after the block's head; empty: refused
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty lines are spaces") << QString() << QString() << QByteArray(40, ' ') << QString();
        QTest::newRow("21 characters cut to 20")
            << "ABCDEFGHIJKLMNOPQRSTU"
            << " x" << QByteArray("ABCDEFGHIJKLMNOPQRST x                  ") << QString();
        QTest::newRow("Windows-1252 bytes")
            << QString::fromUtf8("Caf\u00e9 5\u20ac") << QString::fromUtf8("\u00a3\u00fc")
            << QByteArray("Caf\xE9 5\x80").leftJustified(20, ' ') +
                   QByteArray("\xA3\xFC").leftJustified(20, ' ')
            << QString();
        QTest::newRow("Latin Extended in line 1")
            << QString::fromUtf8("Gda\u0144sk") << "ok" << QByteArray()
            << QString::fromUtf8("Title Page: The character \"\u0144\" (U+0144) cannot be shown on the "
                                 "display: it has no byte "
                                 "in the text encoding windows-1252.\r\n"
                                 "Nothing was sent; please change the line \"Gda\u0144sk\".");
        QTest::newRow("CJK in line 2") << "ok" << QString::fromUtf8("\u4e2d\u6587") << QByteArray()
                                       << "Title Page: The character \"\u4e2d\" (U+4e2d) cannot";
        QTest::newRow("emoji") << QString::fromUtf8("Hi \U0001F600") << QString() << QByteArray()
                               << "Title Page: The character \"\U0001F600\" (U+1f600) cannot";
    }
    void titleLines()
    {
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QByteArray, lines);
        QFETCH(QString, refusal);
        Bench bench;
        QCOMPARE(titlePageBlock(line1, line2),
                 lines.isEmpty() ? QByteArray() : QByteArray::fromHex("55AA5AA5200003") + lines);
        const Outcome outcome = writeTitlePage(bench.access, line1, line2);
        showOutcome(bench.dialogs, outcome);
        QCOMPARE(bool(outcome), refusal.isEmpty());
        if (refusal.isEmpty()) {
            QCOMPARE(bench.display.flash().titleBlock.mid(7), lines);
            return;
        }
        QVERIFY2(bench.dialogs.messages().value(0).startsWith(refusal),
                 qPrintable(bench.dialogs.messages().value(0)));
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
        QVERIFY(bench.display.writes().isEmpty());
        QCOMPARE(bench.display.portName(), QString()); // never opened
    }

    void lineSettingsRefused_data()
    {
        QTest::addColumn<QString>("settings");
        for (const char* text : {"9600,X,8,1", "9600,NN,8,1", "abc", "9600,N,9,1", "9600,N,4,1", "9600,N,8,3",
                                 "", "0,N,8,1", "-9600,N,8,1", "+9600,N,8,1", "96OO,N,8,1",
                                 "99999999999,N,8,1", "9600,N,8", "9600,N,8,1,0", "9600,,8,1"})
            QTest::newRow(text) << QString(text);
    }
    void lineSettingsRefused()
    {
        QFETCH(QString, settings);
        QString reason;
        QVERIFY(!LineSettings::parse(settings, &reason));
        QVERIFY(reason.contains(settings));
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
        QTest::newRow("COM-1") << "COM-1" << openError;
        QTest::newRow("COM") << "COM" << openError;
        QTest::newRow("COM and 9,997 digits") << "COM" + QString(9997, '9') << openError;
        QTest::newRow("10,000 letters") << QString(10000, 'x') << missing;
        QTest::newRow("sim with a blank") << "sim " << missing;
        QTest::newRow("a file that is no port") << "/dev/null" << openError;
        QTest::newRow("a folder") << "/tmp" << openError;
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

QTEST_GUILESS_MAIN(InputChecksTest)
#include "test_input_checks.moc"
