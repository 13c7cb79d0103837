// vfdctl through its main entry: arguments in, exit status and output out, against the simulated
// display in virtual time.
#include "operations/general_record.h"
#include "operations/parameter_vocabulary.h"
#include "vfdctl_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

Q_DECLARE_METATYPE(GeneralParameters)

namespace {

using Run = VfdctlRun;

Run Vfdctl(const QStringList& args, SimulatedDisplay& display, VirtualPacer& pacer)
{
    return RunVfdctl(args, pacer, display);
}

} // namespace

class VfdctlTest : public QObject
{
    Q_OBJECT

private slots:
    void paramsWrite_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<GeneralParameters>("stored");
        QTest::newRow("defaults") << QStringList{} << GeneralParameters{};
        QTest::newRow("every option")
            << QStringList{"--display-baud", "115200",    "--display-format=O,7,1",
                           "--command-set",  "BA63",      "--code-page",
                           "WPC1257",        "--charset", "Denmark2",
                           "--brightness",   "25%"}
            << generalParametersNamed({"115200", "O,7,1", "BA63", "WPC1257", "Denmark2", "25%"});
    }
    void paramsWrite()
    {
        QFETCH(QStringList, options);
        QFETCH(GeneralParameters, stored);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl(QStringList{"--port", "sim", "params", "write"} + options, display, pacer);
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.startsWith("Port Status: Flash Write OK !! Display will restart !!\n"));
        QCOMPARE(display.flash().generalRecord, generalParameterRecord(stored));
        // What the simulated display now shows and holds follows the command.
        QVERIFY(run.out.contains("|  Talvex  VQ-71xx   |"));
        QVERIFY(run.out.contains("general parameters: baud " + baudRateName(stored.baudRate)));
    }

    void paramsErase()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        QCOMPARE(Vfdctl({"--port", "sim", "params", "write"}, display, pacer).status, 0);
        const Run run = Vfdctl({"--port", "sim", "params", "erase"}, display, pacer);
        QCOMPARE(run.status, 0);
        QVERIFY(display.flash().generalRecord.isEmpty());
        QVERIFY(run.out.contains("general parameters: erased"));
    }

    void deviceFailuresExitWithOne_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("stderrStart");
        QTest::newRow("absent") << 0 << "Port Status: Display DSR not ready yet !!\n";
        QTest::newRow("missing port") << 1 << "Port Error: COM Port not Exist( 8002) !!\n";
        QTest::newRow("no acknowledgement") << 2 << "Display ack. failed: Process.3( ";
        // Erased, but the adapter was pulled before "F@": the display still waits in its setup state.
        QTest::newRow("restart lost after the acknowledgement") << 3 << "Port Error: ";
    }
    void deviceFailuresExitWithOne()
    {
        QFETCH(int, fault);
        QFETCH(QString, stderrStart);
        VirtualPacer pacer;
        SimulatedDisplay sound(pacer);
        QCOMPARE(Vfdctl({"--port", "sim", "params", "erase"}, sound, pacer).status, 0);
        const qsizetype soundWrites = sound.writes().size();
        SimulatedDisplay display(pacer);
        SimulatedDisplay::Faults faults;
        faults.absent = fault == 0;
        faults.portMissing = fault == 1;
        faults.acknowledgeFirst = fault == 2 ? 0 : -1;
        faults.vanishAfterWrites = fault == 3 ? static_cast<int>(soundWrites - 1) : -1;
        display.setFaults(faults);
        const Run run = Vfdctl({"--port", "sim", "params", "erase"}, display, pacer);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith(stderrStart), qPrintable(run.err));
        QCOMPARE(run.out.contains("Flash Erase OK"), fault == 3);
        QVERIFY(!display.wire().contains("\x1F"
                                         "F@"));
    }

    void usageErrorsExitWithTwoAndSendNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{"--port", "sim"};
        QTest::newRow("unknown command") << QStringList{"--port", "sim", "frobnicate"};
        QTest::newRow("unknown global option") << QStringList{"--speed", "9600", "params", "erase"};
        QTest::newRow("baud not a number")
            << QStringList{"--port", "sim", "--baud", "fast", "params", "erase"};
        QTest::newRow("baud zero") << QStringList{"--port", "sim", "--baud", "0", "params", "erase"};
        QTest::newRow("bad format") << QStringList{"--port", "sim", "--format", "N81", "params", "erase"};
        QTest::newRow("missing value") << QStringList{"--port"};
        QTest::newRow("params alone") << QStringList{"--port", "sim", "params"};
        QTest::newRow("erase with extra word") << QStringList{"--port", "sim", "params", "erase", "now"};
        QTest::newRow("name not in the list")
            << QStringList{"--port", "sim", "params", "write", "--code-page", "Europa"};
        QTest::newRow("trailing blank")
            << QStringList{"--port", "sim", "params", "write", "--display-baud", "9600 "};
        QTest::newRow("option without value") << QStringList{"--port", "sim", "params", "write", "--charset"};
        QTest::newRow("unknown params option")
            << QStringList{"--port", "sim", "params", "write", "--volume", "11"};
    }
    void usageErrorsExitWithTwoAndSendNothing()
    {
        QFETCH(QStringList, args);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl(args, display, pacer);
        QCOMPARE(run.status, 2);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(display.writes().isEmpty());
    }

    // Every help text: exit 0, nothing sent, and the pieces a reader looks for.
    void helpTexts_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("overview") << QStringList{"--help"} << ""
                                  << QStringList{"params write", "list-ports", "firmware FILE [--force]",
                                                 "  title ",     "  demo ",    "  balance "};
        // Each option of "params write" with the names its list offers and the default of "Set to Default".
        QTest::newRow("params")
            << QStringList{"params", "--help"} << ""
            << QStringList{
                   "  --display-baud      4800, 9600, 19200, 38400, 115200 (default 9600)\n",
                   "  --display-format    N,8,1, E,8,1, O,8,1, N,7,1, E,7,1, O,7,1 (default N,8,1)\n",
                   "  --command-set       EPSON, CD5220, DSP800, EMAX, ADM788, PD3000, UTCP, UTCS, BA63 "
                   "(default EPSON)\n",
                   "  --code-page         Europe, Katakana, PC850, PC860, PC863, PC865, Slavonic, Russian, "
                   "Greek, WPC1257, WPC1252, PC858 (default Europe)\n",
                   "  --charset           USA, Franch, Germany, UK, Denmark1, Sweden, Itlay, Spain, Japan, "
                   "Norway, Denmark2 (default USA)\n",
                   "  --brightness        100%, 75%, 50%, 25% (default 100%)\n"};
        QTest::newRow("firmware") << QStringList{"firmware", "--help"} << ""
                                  << QStringList{"SYNOPSIS", "--force", "EXIT STATUS"};
        for (const char* command : {"title", "demo", "balance"})
            QTest::newRow(command) << QStringList{command, "--help"}
                                   << QString("Usage: vfdctl [global options] ") + command << QStringList{};
    }
    void helpTexts()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, start);
        QFETCH(QStringList, pieces);
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl(args, display, pacer);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(start), qPrintable(run.out));
        for (const QString& piece : pieces)
            QVERIFY2(run.out.contains(piece), qPrintable(piece));
        QVERIFY(display.writes().isEmpty());
    }

    void version()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl({"--version"}, display, pacer);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QString("vfdctl 1.10\n"));
    }

    void listPortsEndsWithSim()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run = Vfdctl({"list-ports"}, display, pacer);
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.endsWith("sim\tsimulated VQ71xx display\n"));
    }

    void quietShowAndJson()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        Run run = Vfdctl({"--port", "sim", "--quiet", "params", "erase"}, display, pacer);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QString());
        run = Vfdctl({"--port", "sim", "--quiet", "--show", "params", "erase"}, display, pacer);
        QCOMPARE(run.out, QString("+--------------------+\n|  Talvex  VQ-71xx   |\n|  Customer Display  |\n"
                                  "+--------------------+\n"));
        run = Vfdctl({"list-ports", "--json"}, display, pacer);
        QCOMPARE(run.status, 0);
        const QJsonArray ports = QJsonDocument::fromJson(run.out.toUtf8()).array();
        QVERIFY(!ports.isEmpty());
        QCOMPARE(ports.last().toObject().value("name").toString(), QString("sim"));
        QCOMPARE(Vfdctl({"list-ports", "--xml"}, display, pacer).status, 2);
    }

    void showAfterATitleWrite()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        const Run run =
            Vfdctl({"--port", "sim", "--show", "title", "write", "Hello", "  Total 12.50"}, display, pacer);
        QCOMPARE(run.status, 0);
        // After "F@" the display restarts and shows the title page it now holds.
        QCOMPARE(run.out, QString("Port Status: Flash Write OK !! Display will restart !!\n"
                                  "+--------------------+\n"
                                  "|Hello               |\n"
                                  "|  Total 12.50       |\n"
                                  "+--------------------+\n"));
    }

    void globalSettingsReachThePort()
    {
        VirtualPacer pacer;
        SimulatedDisplay display(pacer);
        // A display configured for 19200,E,8,1 is reached only at those settings.
        DisplayFlash flash;
        flash.generalRecord = generalParameterRecord(
            generalParametersNamed({"19200", "E,8,1", "EPSON", "Europe", "USA", "100%"}));
        display.setFlash(flash);
        QCOMPARE(Vfdctl({"--port", "sim", "params", "erase"}, display, pacer).status, 1);
        const Run run = Vfdctl({"--port", "sim", "--baud", "19200", "--format", "E,8,1", "params", "erase"},
                               display, pacer);
        QCOMPARE(run.status, 0);
        QCOMPARE(display.writes().last().settings, QString("115200,N,8,1"));
    }
};

QTEST_GUILESS_MAIN(VfdctlTest)
#include "test_vfdctl.moc"
