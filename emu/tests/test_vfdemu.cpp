// vfdemu's display at the end of a pseudo-terminal, driven as a point-of-sale program drives it: through
// the project's serial link and through plain open()/write(), with the screen file as the only window.
#include "emu/com_end.h"
#include "emu/emu_options.h"
#include "emu/line_resampler.h"
#include "emu/pty_end.h"
#include "emu/screen_sink.h"
#include "emu/screen_text.h"
#include "emu/terminal_settings.h"
#include "emu/virtual_display.h"

#include "core/pacer.h"
#include "core/qt_serial_link.h"
#include "core/version.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

const auto line = [](const QString& text) { return LineSettings::parse(text).value(); };

// The display at the end of a fresh line, its screen written to a file. The line is a pseudo-terminal
// that vfdemu makes, or (a "pair") one that the test makes, whose slave vfdemu's COM end opens as it
// opens one port of a null-modem pair: the test keeps the master, as the program has the other port.
struct Rig
{
    explicit Rig(DisplayProduct model, bool pair = false) : display(pacer, model, line("9600,N,8,1"))
    {
        if (pair) {
            master = ::posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
            end = std::make_unique<ComEnd>(QString::fromLocal8Bit(::ptsname(master)), display.settings());
        } else {
            end = std::make_unique<PtyEnd>(display.settings());
        }
        QCOMPARE(end->open().reason, QString());
        QObject::connect(end.get(), &FarEnd::received, &display, &VirtualDisplay::receive);
        QObject::connect(&display, &VirtualDisplay::changed, &sink, &ScreenSink::refresh);
    }
    ~Rig() { master >= 0 && ::close(master); }
    QString screen() const
    {
        QFile file(dir.filePath("screen"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    VirtualPacer pacer;
    VirtualDisplay display;
    int master = -1;
    std::unique_ptr<FarEnd> end;
    QTemporaryDir dir;
    ScreenSink sink{[this] { return screenText(display); }, dir.filePath("screen")};
};

// The program's end of the line: "link" (the project's serial link) or "open" (plain open()), then the
// settings it sets when they are not the display's; or "pair", the master of the rig's pair.
struct Opener
{
    Opener(const QString& program, const Rig& rig)
    {
        const QString settings = program.section(' ', 1).isEmpty() ? "9600,N,8,1" : program.section(' ', 1);
        if (program.startsWith("link")) {
            link.setPortName(rig.end->name());
            link.setSettings(line(settings));
            QVERIFY(link.open().ok());
        } else if (program == "pair") {
            fd = ::dup(rig.master);
        } else {
            fd = ::open(qPrintable(rig.end->name()), O_RDWR | O_NOCTTY);
            QVERIFY(fd >= 0 && setRawTerminal(fd, line(settings)));
        }
    }
    ~Opener() { fd >= 0 && ::close(fd); }
    void write(const QByteArray& bytes)
    {
        QVERIFY(fd < 0 ? link.write(bytes).ok()
                       : ::write(fd, bytes.constData(), bytes.size()) == bytes.size());
    }

    QtSerialLink link{1000};
    int fd = -1;
};

// The screen file's text from "rows split at /;cursor;receipt": rows padded to the width, then the
// cursor, then (the KD-426, cursor "none") its receipt. "@" stands for the KD-426's power-on double line.
QString screen(const QString& golden)
{
    const QStringList parts = QString(golden).replace("@", "       KD-426").split(';');
    QStringList rows = parts.at(0).split('/');
    for (QString& row : rows)
        row = row.leftJustified(20);
    rows << QString() << "cursor " + parts.at(1);
    if (parts.at(1) == "none")
        rows << QString() << parts.mid(2);
    return rows.join('\n') + '\n';
}

} // namespace

class TestVfdemu : public QObject
{
    Q_OBJECT
private slots:
    // The screen file of each model (rows, the cursor counted from 1, the receipt, characters as UTF-8),
    // the line made and opened in each of the ways a program meets it; the screens of the commands are
    // the emulators' (demo/tests/tst_emulators.cpp). Bytes sent faster than the display listens show as
    // the garbage it makes of them, and the mismatch is logged.
    void commandFamilies_data()
    {
        QTest::addColumn<DisplayProduct>("model");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const auto k317 = DisplayProduct::KD317, k426 = DisplayProduct::KD426, k138 = DisplayProduct::KD138;
        const std::tuple<const char*, DisplayProduct, const char*, QByteArray, const char*> rows[] = {
            {"KD-317 cursor moves", k317, "link", "AB\x1F\x24\x05\x02X\x0A", "AB/    X;1,6"},
            {"KD-426 printer", k426, "pair", "\x1B=1THANK YOU\n\x1B=2",
             "@/@//  CUSTOMER DISPLAY;none;THANK YOU"},
            {"KD-138 line", k138, "open", "\x1BQAPRICE 1.99\r", "PRICE 1.99;1,1"},
            {"KD-317 at twice its speed", k317, "link 19200,N,8,1", "HELLO", "╝¡■/;1,4"},
        };
        for (const auto& [name, model, program, bytes, golden] : rows)
            QTest::newRow(name) << model << QString(program) << bytes << screen(QString::fromUtf8(golden));
    }
    void commandFamilies()
    {
        QFETCH(DisplayProduct, model);
        QFETCH(QString, program);
        QFETCH(QString, expected);
        Rig rig(model, program == "pair");
        Opener opener(program, rig);
        if (const QString settings = program.section(' ', 1); !settings.isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable("vfdemu: bytes arrive at " + settings +
                                            " but the display listens at 9600,N,8,1: it shows garbage"));
        QFETCH(QByteArray, bytes);
        opener.write(bytes);
        QTRY_COMPARE_WITH_TIMEOUT(rig.screen(), expected, 5000);
    }

    // What a display at 9600,N,8,1 (or 7 bits) makes of bytes sent at other settings, or at its own.
    void resamplesOtherSettings_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        const std::tuple<const char*, const char*, const char*, QByteArray, QByteArray> rows[] = {
            {"7 data bits lose the top bit", "9600,N,8,1", "9600,N,7,1", "\xC1\x41", "AA"},
            {"a 7-bit line carries no top bit", "9600,E,7,1", "9600,E,7,1", "\xC1", "A"},
            {"parity read as the top bit", "9600,E,7,1", "9600,N,8,1", "EH", "\xC5H"},
            {"second stop bit unchecked", "9600,N,8,2", "9600,N,8,1", "\x55\xAA", "\x55\xAA"},
            {"half speed: FF", "4800,N,8,1", "9600,N,8,1", "\xFF", "\xFE"},
        };
        for (const auto& [name, sent, heard, bytes, expected] : rows)
            QTest::newRow(name) << QString(sent) << QString(heard) << bytes << expected;
    }
    void resamplesOtherSettings()
    {
        QFETCH(QString, sent);
        QFETCH(QString, heard);
        QFETCH(QByteArray, bytes);
        QTEST(resampleLine(bytes, line(sent), line(heard)), "expected");
    }

    void survivesReopening()
    {
        Rig rig(DisplayProduct::KD138);
        for (int round = 1; round <= 4; ++round) {
            Opener opener(round % 2 == 0 ? "link" : "open", rig);
            opener.write("\x0CROUND " + QByteArray::number(round));
            QTRY_COMPARE_WITH_TIMEOUT(rig.screen(), screen(QStringLiteral("ROUND %1;1,8").arg(round)), 5000);
        }
    }

    // A megabyte of noise at other settings than the display's, as fast as the line takes it.
    void takesNoiseWithoutStalling()
    {
        constexpr int kMegabyte = 1 << 20;
        QByteArray noise(kMegabyte, Qt::Uninitialized);
        QRandomGenerator(17).fillRange(reinterpret_cast<quint32*>(noise.data()), kMegabyte / 4);
        Rig rig(DisplayProduct::KD317);
        Opener opener("open 2400,N,8,2", rig);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("shows garbage"));
        // The writer blocks while the pseudo-terminal is full, so it runs beside the reading event loop.
        std::thread writer([&] { opener.write(noise); });
        const bool all = QTest::qWaitFor([&] { return rig.display.bytesReceived() == kMegabyte; }, 60000);
        writer.join();
        QVERIFY2(all, qPrintable(QString::number(rig.display.bytesReceived())));
    }

    // The program's command line, run with no display server. A refused line makes nothing: no link, no
    // screen file, no pseudo-terminal (nothing on stdout); a usage error exits with 2, a line, link or
    // screen file that cannot be made with 1. A line that runs prints the pseudo-terminal's path once its
    // link and screen file exist, then its model's first screen, and a signal ends it with status 0 and
    // its link removed.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "@" stands for an empty folder
        QTest::addColumn<int>("signal");            // the one that ends a line that runs
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("status");
        const QString tooLong = "\x1B[2J" + QString(100000, 'x'),
                      expected = "baud,parity,data bits,stop bits";
        const std::tuple<QStringList, QString, int> refused[] = {
            {{"--headless", "--link", "@/tty", "--screen-file", "@/screen", "--colour"},
             "unknown option --colour (see vfdemu --help)",
             2},
            {{"--model", "kd999", "--link", "@/tty"},
             "--model takes kd317, kd426 or kd138, not \"kd999\"",
             2},
            {{"--headless", "--settings=" + tooLong},
             "--settings: Invalid settings \"<U+001B>[2J" + QString(36, 'x') + "…\": expected " + expected,
             2},
            {{"--port", "COM7"}, "--port is for Windows; here vfdemu makes its own pseudo-terminal", 2},
            {{"--headless", "--", "--link"}, "unexpected argument '--link' (see vfdemu --help)", 2},
            {{"--headless", "--link", "@"}, "@ exists and is not a symbolic link", 1},
            {{"--headless", "--link", "@/tty", "--screen-file", "@/no/screen"},
             "cannot write the screen file @/no/screen: No such file or directory",
             1},
        };
        for (const auto& [arguments, error, status] : refused)
            QTest::newRow(qPrintable(error.left(30)))
                << arguments << 0 << QString() << "vfdemu: " + error + '\n'
                << status;
        const std::tuple<const char*, QStringList, int, QString> answered[] = {
            {"--help", {"--help", "--colour"}, 0, emuUsage().help},
            {"--version", {"-v"}, 0, QStringLiteral("vfdemu %1\n").arg(ProjectVersion::kText)},
            {"KD-317 by default", {"--headless", "--link", "@/ttyVFD0"}, SIGTERM, screen("/;1,1")},
            {"KD-426", {"--headless", "--model", "kd426"}, SIGINT, screen("@/@//  CUSTOMER DISPLAY;none;")},
            {"KD-138", {"--model=KD138", "--headless", "--settings", "19200,E,7,2"}, SIGTERM, screen(";1,1")},
            {"window, Qt's options", {"-platform", "offscreen", "-style=Fusion"}, SIGTERM, QString()},
            {"screen file, hung up",
             {"--headless", "--link", "@/ttyVFD0", "--screen-file", "@/screen"},
             SIGHUP,
             QString()},
        };
        for (const auto& [name, arguments, signal, output] : answered)
            QTest::newRow(name) << arguments << signal << output << QString() << 0;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, signal);
        QFETCH(QString, output);
        QTemporaryDir dir;
        arguments.replaceInStrings("@", dir.path());
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            bare.remove(name);
        const QTemporaryDir runtime; // the window's, or Qt warns on stderr
        bare.insert("XDG_RUNTIME_DIR", runtime.path());
        QProcess emu;
        emu.setProcessEnvironment(bare);
        emu.setWorkingDirectory(dir.path());
        emu.start(VFDEMU_PATH, arguments);
        QString out; // a line that runs prints the pseudo-terminal's path, then the screen
        const QString link = dir.filePath("ttyVFD0"), screenFile = dir.filePath("screen");
        const auto lineShown = [&] { return (out += emu.readAllStandardOutput()).contains('\n'); };
        if (signal != 0) {
            QVERIFY2(QTest::qWaitFor(lineShown, 10000), qPrintable(out));
            if (arguments.contains(link))
                QCOMPARE(QFileInfo(link).symLinkTarget(), out.section('\n', 0, 0));
            QFile shown(screenFile);
            if (arguments.contains(screenFile))
                QCOMPARE(shown.open(QIODevice::ReadOnly) ? shown.readAll() : "none",
                         screen("/;1,1").toUtf8());
            QVERIFY2(QTest::qWaitFor([&] { return lineShown() && out.section('\n', 1).startsWith(output); },
                                     10000),
                     qPrintable(out));
            ::kill(static_cast<pid_t>(emu.processId()), signal);
        }
        QVERIFY(emu.waitForFinished(10000));
        out += emu.readAllStandardOutput();
        QCOMPARE(emu.exitStatus(), QProcess::NormalExit);
        QTEST(emu.exitCode(), "status");
        QFETCH(QString, error);
        QCOMPARE(QString::fromUtf8(emu.readAllStandardError()), error.replace("@", dir.path()));
        if (signal == 0)
            QCOMPARE(out, output);
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            signal != 0 && arguments.contains(screenFile) ? QStringList{"screen"} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestVfdemu)
#include "test_vfdemu.moc"
