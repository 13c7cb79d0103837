// vfdctl through its main entry against the simulated display in virtual time: each command yields
// its operation's transcript (the bytes are pinned by the operations' golden transcripts), every
// refusal of the command line once with its exit status and nothing sent, then what only vfdctl
// prints: help, version, ports, the display's summary, the firmware progress.
#include "core/tests/file_size_limit.h"
#include "setup/sim/simulated_flash_file.h"
#include "setup/sim/simulated_port_lock.h"
#include "setup/tests/operation_cases.h"
#include "setup/tests/vfdctl_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// "sim" and the words of `command` ("|" between words); FILE, TITLE and DIR name the bench's files.
VfdctlRun vfdctl(Bench& bench, const QString& command, const QStringList& global = {}, bool terminal = false)
{
    QStringList words = QStringList{"--port", "sim"} + global;
    for (QString word : command.split('|', Qt::SkipEmptyParts))
        words << word.replace("DIR", bench.dir.path());
    return runVfdctl(bench, words, terminal);
}

QString wireOnly(const SimulatedDisplay& display)
{
    return transcript(display, ScriptedDialogs());
}

} // namespace

class VfdctlTest : public QObject
{
    Q_OBJECT

private slots:
    void commandYieldsItsOperation_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("command");
        for (const OpCase& op : kOps)
            QTest::newRow(op.name) << int(op.op) << QString::fromLatin1(op.vfdctl);
        QTest::newRow("title write --file") << int(Op::TitleWrite) << "title|write|--file|DIR/two.txt";
    }
    void commandYieldsItsOperation()
    {
        QFETCH(int, op);
        QFETCH(QString, command);
        Bench bench;
        prepareDisplay(Op(op), bench.display);
        presentOp(Op(op), bench.access, opInputFile(Op(op), bench.dir));

        Bench cli;
        prepareDisplay(Op(op), cli.display);
        cli.file("two.txt", "Fresh bread\r\ndaily\r\nthird line\r\n");
        command.replace("FILE", opInputFile(Op(op), cli.dir));
        const VfdctlRun run = vfdctl(cli, command);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QCOMPARE(wireOnly(cli.display), wireOnly(bench.display));
        for (const QString& box : bench.dialogs.messages()) // the boxes as lines, in order
            QVERIFY2(run.out.contains(QString(box).replace("\r\n", " ") + "\n"), qPrintable(run.out));
    }

    // Refused command lines: a usage error (2) or a refusal (1) that names the problem, then what to
    // do, nothing sent and nothing else printed. Of the files, one refusal a command, named (what each
    // check refuses: test_input_checks).
    void refusals_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // the start of stderr
        const QString baud = "vfdctl: --baud takes one of 4800, 9600, 19200, 38400, 115200, not '%1'";
        const QString balance = "vfdctl balance: expected a VALUE from 0 to 255, or --store";
        const QString params = "vfdctl params write: --%1 takes one of ";
        const QString lines = "vfdctl title write: give two lines, or --file F";
        const QString status = "File Ststus: ";
        QTest::newRow("no command") << QString() << 2 << "Usage: vfdctl";
        QTest::newRow("unknown command") << "frobnicate" << 2 << "vfdctl: unknown command 'frobnicate'";
        QTest::newRow("unknown global option")
            << "--speed|9600|params|erase" << 2 << "vfdctl: unknown option --speed";
        QTest::newRow("missing value") << "--baud" << 2 << "vfdctl: option --baud needs a value";
        QTest::newRow("unknown option last") << "--speed" << 2 << "vfdctl: unknown option --speed (see";
        QTest::newRow("a value to a switch")
            << "--quiet=1|title|erase" << 2 << "vfdctl: option --quiet takes no value";
        QTest::newRow("--baud 12345") << "--baud|12345|params|erase" << 2 << baud.arg("12345");
        QTest::newRow("a port twice") << "--port|sim|params|erase" << 2
                                      << "vfdctl: a port is named twice\n  sim is given more than once";
        QTest::newRow("--sim-fault off the run") << "--sim-fault|sim:x=absent|params|erase" << 2
                                                 << "vfdctl: --sim-fault names sim:x, which is not";
        QTest::newRow("global option after the command")
            << "params|write|--quiet" << 2
            << "vfdctl params write: unknown option --quiet\n  --quiet is a global option: it goes before";
        QTest::newRow("--baud of 100 digits, quoted cut short")
            << "--baud|" + QString(100, '9') + "|params|erase" << 2 << baud.arg(QString(40, '9') + "…");
        QTest::newRow("--format N81")
            << "--format|N81|params|erase" << 2 << "vfdctl: --format takes parity,data";
        QTest::newRow("params alone") << "params" << 2 << "vfdctl params: expected";
        QTest::newRow("erase with a word") << "params|erase|now" << 2 << "vfdctl params: expected";
        QTest::newRow("unknown params option")
            << "params|write|--volume|11" << 2 << "vfdctl params write: unknown option --volume";
        QTest::newRow("option without value")
            << "params|write|--charset" << 2 << "vfdctl params write: option --charset needs";
        QTest::newRow("code page Europa")
            << "params|write|--code-page|Europa" << 2 << params.arg("code-page");
        QTest::newRow("baud with a blank")
            << "params|write|--display-baud|9600 " << 2 << params.arg("display-baud");
        QTest::newRow("brightness without %")
            << "params|write|--brightness|100" << 2 << params.arg("brightness");
        QTest::newRow("balance 256") << "balance|256" << 2 << balance;
        QTest::newRow("balance -1") << "balance|-1" << 2 << balance;
        QTest::newRow("balance 0x10") << "balance|0x10" << 2 << balance;
        QTest::newRow("balance, two values") << "balance|12|13" << 2 << balance;
        QTest::newRow("title, one line") << "title|write|x" << 2 << lines;
        QTest::newRow("title, both forms") << "title|write|a|b|--file|DIR/two.txt" << 2 << lines;
        QTest::newRow("title, 21 accented letters")
            << "title|write|" + QString(21, QChar(0xE9)) + "|x" << 2
            << "vfdctl title write: a line holds at most 20 characters";
        QTest::newRow("title, a character outside Windows-1252")
            << QString::fromUtf8("title|write|Привет|x") << 2
            << QString::fromUtf8("Title Page: The character \"П\" (U+041F) cannot be shown");
        QTest::newRow("title --file with one line")
            << "title|write|--file|DIR/one.txt" << 1
            << "File Error: Open File Error !!\n  file: DIR/one.txt\n";
        QTest::newRow("demo, no file") << "demo|write" << 2 << "vfdctl demo: expected";
        QTest::newRow("demo, not a DEMO")
            << "demo|write|DIR/one.txt" << 1 << status + "Illegal DEMO File!\n  file: DIR/one.txt\n";
        QTest::newRow("firmware, no file") << "firmware" << 2 << "vfdctl firmware: expected a firmware file";
        QTest::newRow("firmware, two files")
            << "firmware|DIR/vq7146.wfu|DIR/vq7146.wfu" << 2 << "vfdctl firmware: expected one firmware file";
        QTest::newRow("firmware CRC") << "firmware|DIR/vq7146.wfu" << 1
                                      << status + "File CRC16 Check-Sum Error !!\n  file: DIR/vq7146.wfu\n";
        // A file that is not there, or is no regular file, in every command alike, before it is opened.
        const QString unread = "File Error: Open File Error !!\n  %1\n  file: DIR/%2\n";
        const QString missing = "No such file or directory", fifo = "Not a regular file but a FIFO";
        QTest::newRow("apply, a profile's file")
            << "apply|DIR/shop.ini" << 1 << unread.arg(missing, "missing.wfu ([firmware] file)");
        QTest::newRow("apply, no profile")
            << "apply|DIR/none.ini" << 2 << unread.arg(missing, "none.ini (profile)");
        QTest::newRow("firmware, a missing file")
            << "firmware|DIR/none.wfu" << 1 << unread.arg(missing, "none.wfu");
        QTest::newRow("demo, a missing file")
            << "demo|write|DIR/none.bin" << 1 << unread.arg(missing, "none.bin");
        QTest::newRow("title, a missing file")
            << "title|write|--file|DIR/none.txt" << 1 << unread.arg(missing, "none.txt");
#ifdef Q_OS_UNIX
        QTest::newRow("apply, a FIFO") << "apply|DIR/fifo" << 2 << unread.arg(fifo, "fifo (profile)");
        QTest::newRow("firmware, a FIFO") << "firmware|DIR/fifo" << 1 << unread.arg(fifo, "fifo");
        QTest::newRow("demo, a FIFO") << "demo|write|DIR/fifo" << 1 << unread.arg(fifo, "fifo");
        QTest::newRow("title, a FIFO") << "title|write|--file|DIR/fifo" << 1 << unread.arg(fifo, "fifo");
        QTest::newRow("demo, a device")
            << "demo|write|/dev/zero" << 1
            << "File Error: Open File Error !!\n  Not a regular file but a device\n";
#endif
        QTest::newRow("list-ports --xml")
            << "list-ports|--xml" << 2 << "vfdctl list-ports: takes only --json";
    }
    void refusals()
    {
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, said);
        Bench bench;
        bench.file("one.txt", "Only one line\n");
        bench.file("vq7146.wfu", QByteArray("123456789") + QByteArray::fromHex("4B37"));
        bench.file("shop.ini", "[firmware]\nfile=missing.wfu\n");
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(qPrintable(bench.dir.filePath("fifo")), 0600),
                 0); // opened, it would wait for a writer
#endif
        const VfdctlRun run = vfdctl(bench, command);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.startsWith(said.replace("DIR", bench.dir.path())), qPrintable(run.err));
        QVERIFY(bench.display.writes().isEmpty());
        QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
    }

    // One rule for every value a person types, in options and in profiles: letter case does not matter,
    // and the list's own spelling is what is stored and shown. After "--" no word is an option.
    void letterCaseIsIgnored_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("profile"); // written to DIR/p.ini
        QTest::addColumn<QString>("said");    // a part of stdout and stderr
        const QString general =
            "general parameters: baud 9600, format %1, command set %2, code page %3, charset %4";
        QTest::newRow("options") << "--format|n,8,1|params|write|--display-format|e,7,1|--command-set|"
                                    "cd5220|--code-page|pc850|--charset|GERMANY"
                                 << "" << general.arg("E,7,1", "CD5220", "PC850", "Germany");
        QTest::newRow("profile")
            << "apply|DIR/p.ini"
            << "[general]\ndisplay-format=o,8,1\ncommand-set=Emax\ncode-page=KATAKANA\ncharset=uk\n"
               "[balance]\nvalue=9\nstore=TRUE\n"
            << general.arg("O,8,1", "EMAX", "Katakana", "UK") +
                   ", brightness 100%\ntitle page: erased\ndemo: "
                   "erased\nfirmware: factory image\nbalance: 9 (stored 9)";
        QTest::newRow("--encoding") << "--encoding|ibm866|title|write|€|x"
                                    << ""
                                    << "has no byte in the text encoding IBM866.";
        QTest::newRow("--") << "--|title|write|--|--- Welcome ---|-h"
                            << ""
                            << "title page: \"--- Welcome ---     \" / \"-h                  \"";
    }
    void letterCaseIsIgnored()
    {
        QFETCH(QString, command);
        QFETCH(QString, profile);
        QFETCH(QString, said);
        Bench bench;
        bench.file("p.ini", profile.toUtf8());
        const VfdctlRun run = vfdctl(bench, command);
        QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
    }

    // A display or port that fails: exit status 1, and on stderr the box, its detail and what to check
    // (the start of each line). Every command's transfer once, then each kind of failure.
    void deviceFailuresExitWithOne_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("said");
        const QString noAck = "Display ack. failed: Process.3( ";
        const QString rate =
            "  The acknowledgement failed at step 3 (DSR has dropped, limit 3 s): the display did "
            "not answer. It answers only at its current rate and format: check that they are "
            "9600,N,8,1";
        const QString dip = "  With --force the display answers only while its DIP switch 12 is ON";
        for (const OpCase& op : kOps)
            QTest::newRow(op.name) << op.vfdctl << "no-ack"
                                   << QStringList{noAck, op.op == Op::FirmwareForced ? dip : rate};
        // A profile ends at its first step that fails.
        QTest::newRow("apply") << "apply|DIR/p.ini"
                               << "no-ack" << QStringList{noAck, rate};
        // The last values each limit lets through reach the display.
        QTest::newRow("balance 0") << "balance|0"
                                   << "no-ack" << QStringList{noAck, rate};
        QTest::newRow("balance 255") << "balance|255"
                                     << "no-ack" << QStringList{noAck, rate};
        QTest::newRow("--baud 115200 --format e,7,1")
            << "--baud|115200|--format|e,7,1|balance|1"
            << "no-ack" << QStringList{noAck, QString(rate).replace("9600,N,8,1", "115200,E,7,1")};
        QTest::newRow("absent") << "params|erase"
                                << "absent" << QStringList{"Port Status: Display DSR not ready yet !!"};
        QTest::newRow("no DSR line") << "params|erase"
                                     << "no-dsr"
                                     << QStringList{"Port Error: COM Port cannot report DSR !!",
                                                    "  Inappropriate",
                                                    "  sim cannot report DSR, the line the display"};
        // Erased, but the adapter was pulled before "F@": the display still waits in its setup state.
        QTest::newRow("restart lost")
            << "params|erase"
            << "unplugged" << QStringList{"Port Error: COM Port Write Error( 8020) !!", "  The device"};
        QTest::newRow("port missing")
            << "params|erase"
            << "missing"
            << QStringList{"Port Error: COM Port not Exist( 8002) !!", "  ",
                           "  There is no port sim on this system: 'vfdctl list-ports' lists"};
        QTest::newRow("port busy") << "params|erase"
                                   << "busy"
                                   << QStringList{
                                          "Port Error: COM Port Already Open( 8005) !!", "  ",
                                          "  Another program holds sim (vfdsetup, a terminal program"};
    }
    void deviceFailuresExitWithOne()
    {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(QStringList, said);
        Bench bench;
        bench.faults([&](auto& f) {
            f.absent = fault == "absent";
            f.acknowledgeFirst = fault == "no-ack" ? 0 : -1;
            f.vanishAfterWrites = fault == "unplugged" ? 6 : -1; // the seventh write is the "F@" of an erase
            f.portMissing = fault == "missing";
            f.portBusy = fault == "busy";
            f.dsrUnreadable = fault == "no-dsr";
        });
        bench.file("p.ini", "[general]\nbrightness=50%\n[balance]\nvalue=1\n");
        const Op input = command.startsWith("demo") ? Op::DemoWrite : Op::FirmwareOnline;
        const VfdctlRun run = vfdctl(bench, command.replace("FILE", opInputFile(input, bench.dir)));
        QCOMPARE(run.status, 1);
        const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), said.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(said[i]), qPrintable(lines[i]));
    }

    void helpVersionAndPorts()
    {
        Bench bench;
        VfdctlRun run = vfdctl(bench, "--help");
        QCOMPARE(run.status, 0);
        for (const char* piece :
             {"params write", "list-ports", "firmware FILE [--force]", "  title ", "  demo ", "  balance ",
              "  --sim-reset     start every simulated display of the run from the factory state",
              "Exit status: 0 success (on every port), 1 the device or a file failed (on any port), 2 usage"})
            QVERIFY2(run.out.contains(piece), piece);
        QCOMPARE(vfdctl(bench, "-h").out, run.out);
        // Each option of "params write" with the names its list offers and the default of "Set to Default".
        run = vfdctl(bench, "params|--help");
        QVERIFY(
            run.out.contains("  --code-page         Europe, Katakana, PC850, PC860, PC863, PC865, Slavonic, "
                             "Russian, Greek, WPC1257, WPC1252, PC858 (default Europe)\n"));
        QVERIFY(vfdctl(bench, "firmware|-h").out.contains("EXIT STATUS"));
        QCOMPARE(vfdctl(bench, "--version").out, QString("vfdctl 1.10\n"));
        QVERIFY(vfdctl(bench, "list-ports").out.endsWith("sim\tsimulated VQ71xx display\n"));
        run = vfdctl(bench, "list-ports|--json");
        QCOMPARE(run.status, 0);
        const QJsonArray ports = QJsonDocument::fromJson(run.out.toUtf8()).array();
        QCOMPARE(ports.last().toObject().value("name").toString(), QString("sim"));
        QVERIFY(bench.display.writes().isEmpty());
    }

    // What the simulated display holds and shows afterwards: the summary, nothing with --quiet, and
    // the summary again when --show asks for it.
    void displaySummary()
    {
        Bench bench;
        VfdctlRun run = vfdctl(bench, "params|write|--display-baud|19200|--code-page|PC858");
        QVERIFY(run.out.contains("general parameters: baud 19200, format N,8,1, command set EPSON, code page "
                                 "PC858, charset USA, brightness 100%\n"));
        run = vfdctl(bench, "title|write|Hello|  Total 12.50", {"--baud", "19200", "--quiet", "--show"});
        QVERIFY2(run.out.startsWith("+--------------------+\n|Hello               |\n|  Total 12.50       |\n"
                                    "+--------------------+\ngeneral parameters: baud 19200,"),
                 qPrintable(run.out));
        QVERIFY(run.out.contains("title page: \"Hello               \" / \"  Total 12.50       \"\n"));
        QCOMPARE(vfdctl(bench, "title|erase").status, 1); // the display listens at 19200 now
        QCOMPARE(vfdctl(bench, "demo|erase", {"--baud", "19200", "--quiet"}).out, QString());
    }

    // Each run on a fresh display in its own time, as the next run of the program meets it: the second
    // run finds what the first left (none: a file cut short), and its file is renamed over the old one,
    // which a reader that opened it before still reads whole; a file that cannot be written whole
    // ("FULL": a file size limit through the second run) is said and leaves the old one. While another
    // program has the display open, the second run is refused as a busy port is, and leaves the file
    // alone; a lock left by a program that has ended does not count.
    void displayKeptBetweenRuns_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // once
        QTest::addColumn<QString>("lock"); // during the second run: "held" by this process, "ended"
        QTest::newRow("code page") << "params|write|--code-page|Russian"
                                   << "--encoding|IBM866|title|write|Добро|x" << 0
                                   << "title page: \"Добро               \""
                                   << "";
        QTest::newRow("balance in use") << "balance|140"
                                        << "balance|--store" << 0 << "balance: 140 (stored 140)"
                                        << "";
        QTest::newRow("rate") << "params|write|--display-baud|19200"
                              << "--baud|19200|title|erase" << 0 << "general parameters: baud 19200"
                              << "";
        QTest::newRow("--sim-reset") << "params|write|--display-baud|19200"
                                     << "--sim-reset|title|erase" << 0 << "general parameters: erased"
                                     << "";
        QTest::newRow("no kept flash")
            << QString() << "title|erase" << 0 << "vfdctl: sim starts from the factory state: "
            << "";
        QTest::newRow("held by another program")
            << "params|write|--display-baud|19200"
            << "--baud|19200|--sim-reset|title|erase" << 1
            << "Port Error: COM Port Already Open( 8005) !!\n  Device or resource busy: held by "
            << "held";
        QTest::newRow("left by an ended program") << "balance|140"
                                                  << "balance|--store" << 0 << "balance: 140 (stored 140)"
                                                  << "ended";
#ifdef Q_OS_UNIX
        // The disk full when the run ends: the display did its work, the old file stays whole.
        QTest::newRow("a full disk") << "params|write|--code-page|Russian"
                                     << "FULL|title|erase" << 1
                                     << "vfdctl: the flash of sim is not kept: cannot write "
                                     << "";
#endif
    }
    void displayKeptBetweenRuns()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QString, lock);
#ifdef Q_OS_WIN
        if (lock == "ended")
            QSKIP("the lock file is written here by hand, in the fields a Unix Qt reads; Windows' Qt "
                  "does not take it for an ended program's");
#endif
        QTemporaryDir state;
        const QString kept = SimulatedFlashFile(state.path(), "sim").path();
        const auto run = [&](QString command) {
#ifdef Q_OS_UNIX
            std::optional<FileSizeLimit> full;
            if (command.startsWith("FULL|"))
                full.emplace(100), command.remove(0, 5);
#endif
            Bench bench;
            VfdctlEnvironment environment;
            environment.pacer = &bench.pacer;
            environment.simulatedDisplay = &bench.display;
            environment.simulatedFlashFolder = state.path();
            return runVfdctl(QStringList{"--port", "sim"} + command.split('|'), environment);
        };
        QVERIFY(first.isNull() ? writeFile(kept, "talvex simulated VQ71xx flash 1\ngeneral 55aa")
                               : run(first).status == 0);
        QLockFile holder(SimulatedPortLock::pathFor(state.path(), "sim"));
        if (lock == "held")
            QVERIFY(holder.tryLock(0));
        // A program that has ended: this test program itself, run to list its functions, which every
        // system can start.
        QProcess ended;
        if (lock == "ended")
            QVERIFY((ended.start(QCoreApplication::applicationFilePath(), {"-functions"}),
                     ended.waitForStarted()) &&
                    writeFile(SimulatedPortLock::pathFor(state.path(), "sim"),
                              QByteArray::number(ended.processId()) + "\ntest_vfdctl\n" +
                                  QSysInfo::machineHostName().toUtf8() + "\n") &&
                    ended.waitForFinished());
        QFile before(kept);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray whole = before.readAll();
        before.close();
#ifdef Q_OS_UNIX
        // A reader that has the file open goes on reading the old flash whole. (Windows refuses to
        // replace a file that another program holds open.)
        QFile held(kept);
        QVERIFY(held.open(QIODevice::ReadOnly));
#endif
        const VfdctlRun next = run(second);
        QCOMPARE(next.status, status);
        QCOMPARE((next.out + next.err).count(said), 1);
#ifdef Q_OS_UNIX
        QCOMPARE(held.readAll(), whole);
#endif
        QFile after(kept); // a run that failed keeps nothing of its own
        if (status != 0)
            QCOMPARE(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), whole);
    }

    void firmwareProgress_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QStringList>("global");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("one line a page")
            << false << QStringList()
            << "^Online F/W Upload.: Firmware Update. Make sure DIP-12 in OFF status.\n"
               "firmware: page 1 of 3, 0% sent\nfirmware: page 2 of 3, 46.5% sent\n"
               "firmware: page 3 of 3, 93% sent\nfirmware: 3 of 3 pages sent, 100%\n"
               "Port Status: Firmware Update Sucessfully. ";
        // On a terminal one bar, rewritten in place, ends its line before the next box; the time left
        // is the pages to go at the protocol's pace.
        QTest::newRow("a bar on a terminal") << true << QStringList()
                                             << "\r\\[\\.{30}\\]     0%  page 1/3  0:05 left "
                                                "\r\\[#{10}\\.{20}\\]  46.5%  page 2/3  0:03 left "
                                                "\r\\[#{20}\\.{10}\\]    93%  page 3/3  0:02 left "
                                                "\r\\[#{30}\\]   100%  page 3/3  0:00 left \nPort Status: ";
        QTest::newRow("quiet") << false << QStringList{"--quiet"} << "^$";
        QTest::newRow("quiet on a terminal") << true << QStringList{"--quiet"} << "^$";
    }
    void firmwareProgress()
    {
        QFETCH(bool, terminal);
        QFETCH(QStringList, global);
        QFETCH(QString, pattern);
        Bench bench;
        const VfdctlRun run =
            vfdctl(bench, "firmware|" + opInputFile(Op::FirmwareOnline, bench.dir), global, terminal);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(QRegularExpression(pattern)), qPrintable(run.out));
    }
};

QTEST_GUILESS_MAIN(VfdctlTest)
#include "test_vfdctl.moc"
