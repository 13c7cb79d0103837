// Bad input, end to end through vfdctl and through the window's controls: firmware, DEMO and title
// files that are empty, tiny, at and past their limits, folders, unreadable, gone or huge; ports
// that do not exist; arguments out of range. Each must give its clear message and leave the wire
// as it should be, which for a refusal is empty.
#include "content_bench.h"
#include "core/qt_serial_link.h"
#include "firmware_test_support.h"
#include "operations/title_page.h"
#include "vfdctl_run.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray kDemoSignature = QByteArray::fromHex("55AA5AA5");
constexpr qint64 kOneGigabyte = qint64(1) << 30;

// Files are described by a kind and a length, so that a table can name them.
enum class Kind { Bytes, Folder, Unreadable, Sparse };

using Run = VfdctlRun;

Run Vfdctl(const QStringList& arguments, VirtualPacer& pacer, SimulatedDisplay& display,
           std::function<std::unique_ptr<SerialLink>()> makeRealLink = {})
{
    return RunVfdctl(arguments, pacer, display, std::move(makeRealLink));
}

// Peak resident memory of this process so far, in megabytes.
qint64 PeakMemoryMb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Makes reads of a file fail while it lives. Permissions stop nobody who runs as root (as the CI
// does), so then the process takes the identity of the user "nobody" until the guard goes.
class ReadsFail
{
public:
    explicit ReadsFail(const QString& path)
    {
        QFile::setPermissions(path, {});
        // The folders on the way must still be searchable, or the file would look missing.
        QFile::setPermissions(QFileInfo(path).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ExeGroup | QFileDevice::ExeOther);
        if (::geteuid() == 0)
            switched_ = ::seteuid(65534) == 0;
        QFile probe(path);
        works_ = !probe.open(QIODevice::ReadOnly);
    }
    ~ReadsFail()
    {
        if (switched_ && ::seteuid(0) != 0)
            qFatal("cannot take back the root identity");
    }
    ReadsFail(const ReadsFail&) = delete;
    ReadsFail& operator=(const ReadsFail&) = delete;
    bool works() const { return works_; }

private:
    bool switched_ = false;
    bool works_ = false;
};

// Writes a file of the given kind into `dir`: `bytes` as they are, a folder of that name, the bytes
// made unreadable (by the caller, with ReadsFail), or `bytes` followed by a hole up to 1 GB.
QString MakeFile(const QTemporaryDir& dir, const QString& name, Kind kind, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    if (kind == Kind::Folder) {
        QDir(dir.path()).mkdir(name);
        return path;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    if (kind == Kind::Sparse && !file.resize(kOneGigabyte))
        qFatal("cannot extend %s", qPrintable(path));
    return path;
}

// The main window on the simulated display, with a real link for typed port names.
WindowOptions WithRealLink()
{
    WindowOptions options;
    options.makeRealLink = [] { return std::make_unique<QtSerialLink>(); };
    return options;
}

struct Window : WindowFixture
{
    Window() : WindowFixture(-1, WithRealLink()) {}
    QPushButton* button(const char* name) const { return find(name); }
};

const QString kFileStatus = QStringLiteral("File Ststus: ");
const QString kOpenFileError = QStringLiteral("File Error: Open File Error !!");

} // namespace

class BadInputTest : public QObject
{
    Q_OBJECT

private slots:
    // Firmware files: the check of the window's "Open File" and of vfdctl refuses them with its box
    // and nothing goes out; "DownLoad" then refuses too. The largest file is accepted whole.
    void firmwareFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        const QString openError = kFileStatus + "Open File Error !!";
        const QString tooLarge = kFileStatus + "File Size over 48K, Please Try Again !!";
        QTest::newRow("empty") << int(Kind::Bytes) << 0 << openError;
        QTest::newRow("1 byte") << int(Kind::Bytes) << 1 << openError;
        QTest::newRow("2 bytes: a CRC and no image") << int(Kind::Bytes) << 2 << openError;
        QTest::newRow("49152 bytes, the limit") << int(Kind::Bytes) << 49152 << QString();
        QTest::newRow("49153 bytes") << int(Kind::Bytes) << 49153 << tooLarge;
        QTest::newRow("a folder") << int(Kind::Folder) << 0 << openError;
        QTest::newRow("unreadable") << int(Kind::Unreadable) << 1000 << openError;
        QTest::newRow("1 GB, sparse") << int(Kind::Sparse) << 1000 << tooLarge;
    }
    void firmwareFiles()
    {
        QFETCH(int, kind);
        QFETCH(int, length);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QByteArray image = firmware_test::Pattern(std::max(0, length - 2));
        const QByteArray bytes = length >= 2 ? firmware_test::WfuFile(image) : QByteArray(length, 'x');
        const QString path = MakeFile(dir, "FW_VQ7146.wfu", Kind(kind), bytes);
        std::unique_ptr<ReadsFail> unreadable;
        if (Kind(kind) == Kind::Unreadable) {
            unreadable = std::make_unique<ReadsFail>(path);
            if (!unreadable->works())
                QSKIP("this process reads files whatever their permissions");
        }

        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const qint64 memoryBefore = PeakMemoryMb();
        QElapsedTimer timer;
        timer.start();
        const Run run = Vfdctl({"--port", "sim", "--quiet", "firmware", path}, pacer, display);
        if (refusal.isEmpty()) {
            QCOMPARE(run.status, 0);
            QCOMPARE(display.flash().firmware, image);
            return;
        }
        QCOMPARE(timer.elapsed() < 1000, true); // a refusal reads no more than it needs
        QCOMPARE_LT(PeakMemoryMb() - memoryBefore, 64);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.split('\n').first(), refusal);
        QVERIFY(display.writes().isEmpty());

        // The same file chosen in the window: the box, then "DownLoad" refuses and sends nothing.
        Window w;
        w.showTab(1);
        w.choose("ComOpenFile_0", path);
        QCOMPARE(w.dialogs.messages(), QStringList{refusal});
        if (w.button("ComDownLoad")->isEnabled()) {
            QVERIFY(!w.clickAndWait("ComDownLoad"));
            QCOMPARE(w.dialogs.messages().last(), kFileStatus + "File Error, Please Try Again !!");
        }
        QVERIFY(w.display.writes().isEmpty());
    }

    // DEMO files: the check refuses what does not open with the signature; a file too long to be
    // announced, a folder or a file that cannot be read is refused before anything is written,
    // whichever way "Write" is reached.
    void demoFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("checkBox"); // the box of the check at the choice, "" when accepted
        QTest::addColumn<QString>("writeBox"); // the box of "Write", "" when it writes
        const QString invalid = kFileStatus + "InValid File!";
        const QString tooLarge = kFileStatus + "DEMO File too large!\r\n%1 bytes; the display takes at most "
                                               "69120 bytes (135 pages of 512). Nothing was written.";
        QTest::newRow("empty") << int(Kind::Bytes) << 0 << invalid << "";
        QTest::newRow("1 byte") << int(Kind::Bytes) << 1 << invalid << "";
        QTest::newRow("2 bytes") << int(Kind::Bytes) << 2 << invalid << "";
        QTest::newRow("69120 bytes, the limit") << int(Kind::Bytes) << 69120 << ""
                                                << "";
        QTest::newRow("69121 bytes") << int(Kind::Bytes) << 69121 << "" << tooLarge.arg(69121);
        QTest::newRow("a folder") << int(Kind::Folder) << 0 << kOpenFileError << kOpenFileError;
        QTest::newRow("unreadable") << int(Kind::Unreadable) << 1000 << kOpenFileError << kOpenFileError;
        QTest::newRow("1 GB, sparse") << int(Kind::Sparse) << 1000 << "" << tooLarge.arg(kOneGigabyte);
    }
    void demoFiles()
    {
        QFETCH(int, kind);
        QFETCH(int, length);
        QFETCH(QString, checkBox);
        QFETCH(QString, writeBox);
        Window w;
        w.showTab(2);
        const QByteArray bytes = length >= 4 ? content_test::DemoBytes(length) : kDemoSignature.left(length);
        const QString path = MakeFile(w.dir, "shop.dem", Kind(kind), bytes);
        std::unique_ptr<ReadsFail> unreadable;
        if (Kind(kind) == Kind::Unreadable) {
            unreadable = std::make_unique<ReadsFail>(path);
            if (!unreadable->works())
                QSKIP("this process reads files whatever their permissions");
        }

        const qint64 memoryBefore = PeakMemoryMb();
        QElapsedTimer timer;
        timer.start();
        w.choose("Command1", path);
        QStringList expected;
        if (!checkBox.isEmpty())
            expected << checkBox;
        QCOMPARE(w.dialogs.messages(), expected);
        // Where "Write" can be pressed, it must refuse, or write the whole file.
        if (w.button("cmbWriteDEMO")->isEnabled()) {
            QVERIFY(w.clickAndWait("cmbWriteDEMO"));
            if (!writeBox.isEmpty())
                expected << writeBox;
            else
                expected << "Port Status: Flash Write OK !!\r\nDisplay will restart !!";
            QCOMPARE(w.dialogs.messages(), expected);
            QVERIFY(!w.display.isOpen());
            QVERIFY(w.button("cmbWriteDEMO")->isEnabled());
        }
        QCOMPARE_LT(timer.elapsed(), 2000);
        QCOMPARE_LT(PeakMemoryMb() - memoryBefore, 64);
        if (writeBox.isEmpty() && checkBox.isEmpty())
            QCOMPARE(w.display.flash().demo, bytes.chopped(2));
        else
            QVERIFY2(w.display.writes().isEmpty(), w.display.wire().left(64).toHex(' ').constData());

        // vfdctl: the same refusal, exit status 1, nothing written.
        unreadable.reset();
        if (Kind(kind) == Kind::Unreadable)
            unreadable = std::make_unique<ReadsFail>(path);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl({"--port", "sim", "--quiet", "demo", "write", path}, pacer, display);
        if (writeBox.isEmpty() && checkBox.isEmpty()) {
            QCOMPARE(run.status, 0);
            return;
        }
        QCOMPARE(run.status, 1);
        QString said = checkBox.isEmpty() ? writeBox : checkBox;
        QCOMPARE(run.err.split('\n').first(), said.replace("\r\n", " "));
        QVERIFY(display.writes().isEmpty());
    }

    // A file removed between its choice and "Write"/"DownLoad": the DEMO write ends after the setup
    // request with nothing of the file sent; the firmware was read whole at the choice, so the
    // image that passed the check is the one flashed.
    void fileGoneBetweenChoiceAndTransfer()
    {
        Window w;
        w.showTab(2);
        const QString demo = MakeFile(w.dir, "shop.dem", Kind::Bytes, content_test::DemoBytes(3000));
        w.choose("Command1", demo);
        QVERIFY(w.button("cmbWriteDEMO")->isEnabled());
        QVERIFY(QFile::remove(demo));
        QVERIFY(w.clickAndWait("cmbWriteDEMO"));
        QCOMPARE(w.display.wire(), content_test::kSetupRequest);
        QVERIFY(w.dialogs.messages().isEmpty());
        QVERIFY(!w.display.isOpen());
        QVERIFY(w.button("cmbWriteDEMO")->isEnabled());

        // The display was left in its setup state by the write that ended early; it is switched
        // off and on before the next operation, as a technician would.
        w.display.powerCycle();
        w.pacer.advance(1000);
        w.showTab(1);
        const QByteArray image = firmware_test::Pattern(700);
        const QString firmware = MakeFile(w.dir, "vq7146.wfu", Kind::Bytes, firmware_test::WfuFile(image));
        w.choose("ComOpenFile_0", firmware);
        QVERIFY(QFile::remove(firmware));
        QVERIFY(w.clickAndWait("ComDownLoad"));
        QCOMPARE(w.display.flash().firmware, image);
    }

    // Title text files through "File Input" and "Write", and through vfdctl title write --file: the
    // two lines as stored, or the box and nothing sent.
    void titleFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("sparse");
        QTest::addColumn<QStringList>("lines"); // what the boxes show afterwards
        QTest::addColumn<QString>("refusal");   // empty: written
        const QStringList initial{"***  User Define ***", "***  Cover Page  ***"};
        QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC"
                                             "5\nNa\xC3\xAFve")
                               << false
                               << QStringList{QString::fromUtf8("Café €5"), QString::fromUtf8("Naïve")} << "";
        QTest::newRow("UTF-8 with BOM, CR LF")
            << QByteArray("\xEF\xBB\xBFUpper\r\nLower\r\n") << false << QStringList{"Upper", "Lower"} << "";
        QTest::newRow("lone CR") << QByteArray("Upper\rLower\r") << false << QStringList{"Upper", "Lower"}
                                 << "";
        QTest::newRow("lines of 5000 characters")
            << QByteArray(5000, 'a') + "\n" + QByteArray(5000, 'b') << false
            << QStringList{QString(20, 'a'), QString(20, 'b')} << "";
        // The first line fills the whole beginning that is read: the second is never reached.
        QTest::newRow("a first line of 100,000 characters")
            << QByteArray(100000, 'a') + "\nb\n"
            << false << QStringList{QString(20, 'a'), initial.at(1)} << kOpenFileError;
        QTest::newRow("binary") << QByteArray::fromHex("89504E470D0A1A0A0000000D49484452") << false << initial
                                << kOpenFileError;
        QTest::newRow("Windows-1252, not UTF-8")
            << QByteArray("Caf\xE9\nx") << false << QStringList{QString::fromUtf8("Café"), "x"} << "";
        QTest::newRow("outside Windows-1252")
            << QByteArray("Gda\xC5\x84sk\n\xC5\x81\xC3\xB3"
                          "d\xC5\xBA")
            << false << QStringList{QString::fromUtf8("Gdańsk"), QString::fromUtf8("Łódź")}
            << QString::fromUtf8(
                   "Title Page: The character \"ń\" (U+0144) cannot be shown on the display: it has no byte "
                   "in the text encoding windows-1252.\r\n"
                   "Nothing was sent; please change the line \"Gdańsk\".");
        // The hole reads as NUL bytes: no text, however good its beginning.
        QTest::newRow("two lines, then a 1 GB hole")
            << QByteArray("Upper\nLower\n") << true << initial << kOpenFileError;
        QTest::newRow("1 GB of zeros") << QByteArray() << true << initial << kOpenFileError;
    }
    void titleFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, sparse);
        QFETCH(QStringList, lines);
        QFETCH(QString, refusal);
        Window w;
        w.showTab(2);
        const QString path = MakeFile(w.dir, "title.txt", sparse ? Kind::Sparse : Kind::Bytes, content);

        QElapsedTimer timer;
        timer.start();
        w.choose("ComOpenFile_1", path);
        QCOMPARE_LT(timer.elapsed(), 1000);
        QVERIFY(w.display.writes().isEmpty()); // reading the file sends nothing
        QVERIFY(w.find("ComOpenFile_1")->isEnabled());
        QCOMPARE(QStringList({w.window->findChild<QLineEdit*>("Text1_1")->text(),
                              w.window->findChild<QLineEdit*>("Text2_1")->text()}),
                 lines);
        const bool readWhole = refusal.isEmpty() || refusal.startsWith("Title Page");
        QCOMPARE(w.dialogs.messages(), readWhole ? QStringList() : QStringList{refusal});
        if (readWhole) {
            QVERIFY(w.clickAndWait("ComCoverPage_1"));
            if (refusal.isEmpty()) {
                QCOMPARE(w.display.flash().titleBlock, titlePageBlock(lines.at(0), lines.at(1)));
            } else {
                QCOMPARE(w.dialogs.messages(), QStringList{refusal});
                QVERIFY(w.display.writes().isEmpty());
            }
        }

        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run =
            Vfdctl({"--port", "sim", "--quiet", "title", "write", "--file", path}, pacer, display);
        if (refusal.isEmpty()) {
            QCOMPARE(run.status, 0);
            QCOMPARE(display.flash().titleBlock, titlePageBlock(lines.at(0), lines.at(1)));
            return;
        }
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.split('\n').first(), QString(refusal).replace("\r\n", " "));
        QVERIFY(display.writes().isEmpty());
    }

    // Port names that name no port: a "Port Error" box with the number and the system's words,
    // nothing written, the port closed, the buttons back; vfdctl exits with 1.
    void portNames_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        const QString missing = QStringLiteral("Port Error: COM Port not Exist( 8002) !!");
        const QString openError = QStringLiteral("Port Error: COM Port Open Error( 8010) !!");
        QTest::newRow("empty") << "" << openError;
        QTest::newRow("garbage") << "#?*%$ \t\\" << missing;
        QTest::newRow("COM99999") << "COM99999" << missing;
        QTest::newRow("COM-1") << "COM-1" << openError;
        QTest::newRow("COM") << "COM" << openError;
        QTest::newRow("COM and 9,997 digits") << "COM" + QString(9997, '9') << openError;
        QTest::newRow("10,000 letters") << QString(10000, 'x') << missing;
        QTest::newRow("a file that is no port") << "/dev/null" << openError;
        QTest::newRow("a folder") << "/tmp" << openError;
        QTest::newRow("sim with a blank") << "sim " << missing;
    }
    void portNames()
    {
        QFETCH(QString, port);
        QFETCH(QString, message);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        QByteArray written;
        // A real link that records what would have been written through it.
        struct RecordingLink : QtSerialLink
        {
            explicit RecordingLink(QByteArray& sink) : sink(sink) {}
            LinkStatus write(const QByteArray& bytes) override
            {
                sink += bytes;
                return QtSerialLink::write(bytes);
            }
            QByteArray& sink;
        };
        const Run run = Vfdctl({"--port", port, "params", "erase"}, pacer, display,
                               [&] { return std::make_unique<RecordingLink>(written); });
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.split('\n').first() == message, qPrintable(run.err.left(300)));
        QVERIFY(!run.err.split('\n').value(1).trimmed().isEmpty()); // the system's reason
        QVERIFY(written.isEmpty());
        QVERIFY(display.writes().isEmpty());

        Window w;
        w.window->findChild<QComboBox*>("CmbCOM")->setCurrentText(port);
        QCOMPARE(w.window->selection().port, port);
        QVERIFY(w.clickAndWait("ComCancelReg"));
        QCOMPARE(w.dialogs.messages(), QStringList{message});
        QVERIFY(!w.dialogs.shown().first().detail.isEmpty());
        QVERIFY(w.button("ComCancelReg")->isEnabled());
        QVERIFY(w.display.writes().isEmpty());
    }

    // vfdctl arguments out of range: a usage error (2) or a refusal (1) that names the problem, and
    // nothing written.
    void vfdctlArgumentsOutOfRange_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the start of stderr
        const QString baud = QStringLiteral("vfdctl: --baud takes a positive number, not '%1'");
        const QString balance = QStringLiteral("vfdctl balance: expected a VALUE from 0 to 255, or --store");
        QTest::newRow("--baud -5") << QStringList{"--baud", "-5", "params", "erase"} << 2 << baud.arg("-5");
        QTest::newRow("--baud beyond 32 bits")
            << QStringList{"--baud", "99999999999", "params", "erase"} << 2 << baud.arg("99999999999");
        QTest::newRow("--baud 9600.5")
            << QStringList{"--baud", "9600.5", "params", "erase"} << 2 << baud.arg("9600.5");
        QTest::newRow("--baud empty") << QStringList{"--baud=", "params", "erase"} << 2 << baud.arg("");
        QTest::newRow("--format N,9,1") << QStringList{"--format", "N,9,1", "params", "erase"} << 2
                                        << "vfdctl: --format takes parity,data bits,stop bits";
        QTest::newRow("balance 256") << QStringList{"balance", "256"} << 2 << balance;
        QTest::newRow("balance 1e2") << QStringList{"balance", "1e2"} << 2 << balance;
        QTest::newRow("balance 0x10") << QStringList{"balance", "0x10"} << 2 << balance;
        QTest::newRow("balance two values") << QStringList{"balance", "12", "13"} << 2 << balance;
        QTest::newRow("balance 4294967296") << QStringList{"balance", "4294967296"} << 2 << balance;
        QTest::newRow("title line of 21 accented letters")
            << QStringList{"title", "write", QString(21, QChar(0xE9)), "x"} << 2
            << "vfdctl title write: a line holds at most 20 characters";
        QTest::newRow("title line with a character outside Windows-1252")
            << QStringList{"title", "write", QString::fromUtf8("Привет"), "x"} << 1
            << QString::fromUtf8("Title Page: The character \"П\" (U+041f) cannot be shown");
        QTest::newRow("title --file missing")
            << QStringList{"title", "write", "--file", "/no/such/title.txt"} << 1 << kOpenFileError;
        QTest::newRow("unknown code page, other case")
            << QStringList{"params", "write", "--code-page", "pc437"} << 2
            << "vfdctl params write: --code-page takes one of";
        QTest::newRow("unknown code page, empty") << QStringList{"params", "write", "--code-page", ""} << 2
                                                  << "vfdctl params write: --code-page takes one of";
        QTest::newRow("display baud not in the list")
            << QStringList{"params", "write", "--display-baud", "9601"} << 2
            << "vfdctl params write: --display-baud takes one of";
        QTest::newRow("brightness without %") << QStringList{"params", "write", "--brightness", "100"} << 2
                                              << "vfdctl params write: --brightness takes one of";
        QTest::newRow("firmware missing")
            << QStringList{"firmware", "/no/such/vq7146.wfu"} << 1 << kFileStatus + "Open File Error !!";
        QTest::newRow("demo missing")
            << QStringList{"demo", "write", "/no/such/shop.dem"} << 1 << kFileStatus + "InValid File!";
    }
    void vfdctlArgumentsOutOfRange()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl(QStringList{"--port", "sim", "--quiet"} + arguments, pacer, display);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.startsWith(said), qPrintable(run.err));
        QVERIFY(display.writes().isEmpty());
    }
};

QTEST_MAIN(BadInputTest)
#include "test_bad_input.moc"
