// vfdctl on several ports at once, against simulated displays in virtual time: each port's bytes
// and timing are those of a run on it alone, one failing port leaves the others alone and its lines
// carry its name, and a stop request ends every port between frames.
#include "setup/tests/fleet_stations.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {

// The closing table as "port: result" rows, sorted by port.
QStringList tableResults(const QString& out)
{
    static const QRegularExpression kRow("^(\\S+)  +(.*\\S)  +\\d+\\.\\d s$",
                                         QRegularExpression::MultilineOption);
    QStringList results;
    for (const QRegularExpressionMatch& match : kRow.globalMatch(out.section("\nport ", 1).section('\n', 1)))
        results << match.captured(1) + ": " + match.captured(2);
    results.sort();
    return results;
}

// The virtual clocks of a run's ports: each that passes `at` milliseconds waits there until every one
// has, and then the stop request is raised, as a signal would: every port meets it at the same point of
// its own time, whatever the threads' pace.
struct StoppingPacer : VirtualPacer
{
    StoppingPacer(std::atomic_bool& stop, int at, std::atomic_int& waiting)
        : stop(stop), at(at), waiting(waiting)
    {
    }
    void pump() override { VirtualPacer::pump(), check(); }
    void sleep(int milliseconds) override { VirtualPacer::sleep(milliseconds), check(); }
    void check()
    {
        if (milliseconds() < at || std::exchange(passed, true))
            return;
        --waiting;
        QDeadlineTimer patience(10000); // a port that never comes does not hang the test
        while (waiting > 0 && !patience.hasExpired())
            QThread::yieldCurrentThread();
        stop = true;
    }
    std::atomic_bool& stop;
    int at;
    std::atomic_int& waiting; // the clocks yet to pass `at`
    bool passed = false;
};

} // namespace

class FleetTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    const QStringList firmware_{"firmware", dir_.filePath("FW_VQ7146.wfu")};

private slots:
    void initTestCase()
    {
        QVERIFY(writeFile(firmware_[1], wfuFile(imageBytes(1500))));
        QVERIFY(writeFile(dir_.filePath("fw.ini"), "[firmware]\nfile=FW_VQ7146.wfu\n"));
    }

    // Ports sim, sim:b and sim:c, and the port named in `failing` ("port: result"; empty: all succeed).
    void portsRunAsAlone_data()
    {
        QTest::addColumn<QString>("words"); // after --ports; "firmware" takes the test's image
        QTest::addColumn<QString>("failing");
        const QString notReady = "sim:b: Port Status: Display DSR not ready yet !!";
        const QString noAck = "sim:b: Display ack. failed: Process.3( ";
        QTest::newRow("all succeed") << "firmware" << QString();
        QTest::newRow("absent") << "--sim-fault sim:b=absent firmware" << notReady;
        QTest::newRow("DSR late") << "--sim-fault sim:b=dsr-late firmware" << notReady;
        QTest::newRow("setup unacknowledged")
            << "--sim-fault sim:b=no-ack firmware" << noAck + "36000/36003.02/True)";
        QTest::newRow("header unacknowledged")
            << "--sim-fault sim:b=no-ack-after:1 firmware" << noAck + "36001.34/36004.34/True)";
        QTest::newRow("port missing") << "firmware"
                                      << "/dev/no-such-vfd-port: Port Error: COM Port not Exist( 8002) !!";
    }
    void portsRunAsAlone()
    {
        QFETCH(QString, words);
        QFETCH(QString, failing);
        const QStringList command =
            words.split(' ') + (words.endsWith("firmware") ? firmware_.mid(1) : QStringList());
        const QString failingPort = failing.section(": ", 0, 0);
        QStringList ports{"sim", "sim:b", "sim:c"}, results;
        if (failingPort.startsWith('/'))
            ports.prepend(failingPort);
        for (const QString& port : ports)
            results << (port == failingPort ? failing : port + ": ok");
        Stations fleet;
        const VfdctlRun run = fleet.run(QStringList{"--ports", ports.join(',')} + command);
        QCOMPARE(run.status, failing.isEmpty() ? 0 : 1);
        QCOMPARE(tableResults(run.out), results);
        QVERIFY2(run.err.contains(failing), qPrintable(run.err)); // with its own port's name
        // Piped, every line of a port carries its name.
        for (const QString& line :
             (run.out.section("\nport ", 0, 0) + run.err).split('\n', Qt::SkipEmptyParts))
            QVERIFY2(ports.contains(line.section(": ", 0, 0)), qPrintable(line));
        // Each simulated display heard exactly what a run on its port alone sends, at the same moments.
        for (const auto& [port, station] : fleet.byPort) {
            Stations alone;
            alone.run(QStringList{"--port", port} + (port == failingPort ? command : firmware_));
            QVERIFY2(station.display.writes() == alone.at(port).display.writes(), qPrintable(port));
        }
    }

    // The ports, when the stop comes (once every port's clock has passed it), the command (FW: the test's
    // image, DIR its folder), the exit status, and what each port then tells (empty: nothing).
    void stopEndsEveryPortBetweenFrames_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told");
        const QString afterPage =
            "Interrupted after page %1 of 3: the display stays in its update state; run the "
            "update again, with --force if it no longer answers$";
        // DSR is low: the display is answering page 2, so it has taken it.
        QTest::newRow("one port") << QStringList{"sim"} << 3400 << "firmware FW" << 130
                                  << "^" + afterPage.arg(2);
        QTest::newRow("three ports") << QStringList{"sim", "sim:b", "sim:c"} << 3500 << "firmware FW" << 130
                                     << "^sim(:.)?: (" + afterPage.arg("[12]") +
                                            "|Interrupted before the first page)";
        // The signal comes while the port closes after its failure: it stays a failure.
        QTest::newRow("a port that had failed")
            << QStringList{"sim"} << 3040 << "--sim-fault sim=no-ack params erase" << 1
            << "^Display ack. failed: Process.3\\( ";
        // The signal comes once the display was told to restart: the work is done, and said so.
        QTest::newRow("a port that had finished") << QStringList{"sim"} << 567 << "params erase" << 0 << "";
        QTest::newRow("ports that had finished")
            << QStringList{"sim", "sim:b", "sim:c"} << 567 << "params erase" << 0 << "";
        // A profile's update is forced by its own key, not by an option.
        QTest::newRow("apply's firmware step")
            << QStringList{"sim"} << 3400 << "apply DIR/fw.ini" << 130
            << "^" + QString(afterPage).arg(2).replace("with --force", "with force=true in the profile's "
                                                                       "\\[firmware\\] section");
    }
    void stopEndsEveryPortBetweenFrames()
    {
        QFETCH(QStringList, ports);
        QFETCH(int, at);
        QFETCH(QString, words);
        QFETCH(int, status);
        QFETCH(QString, told);
        std::atomic_bool stop{false};
        std::atomic_int waiting{int(ports.size())};
        Stations fleet;
        for (const QString& port : ports)
            fleet.byPort.try_emplace(port, std::make_unique<StoppingPacer>(stop, at, waiting));
        words.replace("FW", firmware_[1]).replace("DIR", dir_.path());
        const VfdctlRun run = fleet.run(QStringList{"--ports", ports.join(',')} + words.split(' '), &stop);
        QVERIFY(stop); // it came
        QCOMPARE(run.status, status);
        const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(told.isEmpty() ? lines.isEmpty()
                                : lines.filter(QRegularExpression(told)).size() == ports.size(),
                 qPrintable(run.err));
        QCOMPARE(lines.filter("Interrupted").size(), status == 130 ? ports.size() : 0);
        QCOMPARE(tableResults(run.out).filter(QRegularExpression(": ok$")).size(),
                 status == 0 && ports.size() > 1 ? ports.size() : 0);
        for (const auto& [port, station] : fleet.byPort) {
            QVERIFY(!station.display.isOpen());
            QCOMPARE(station.display.restarts(), status == 0 ? 1 : 0); // no "F@" after an interruption
            QCOMPARE(station.display.garbageBytes(),
                     status == 1 ? 41 : 0); // 41: the NAK lines after a failure
            QVERIFY(station.display.flash().firmware.isEmpty());
        }
    }

    // A stop that comes when one port has finished (the display told to restart, at 567 ms of its clock)
    // and another still waits for an answer it will not get: the first is reported done, only the second
    // interrupted.
    void stopAfterOnePortFinished()
    {
        std::atomic_bool stop{false};
        std::atomic_int waiting{2};
        Stations fleet;
        fleet.byPort.try_emplace("sim", std::make_unique<StoppingPacer>(stop, 567, waiting));
        fleet.byPort.try_emplace("sim:b", std::make_unique<StoppingPacer>(stop, 1500, waiting));
        const VfdctlRun run = fleet.run(
            {"--ports", "sim,sim:b", "--sim-fault", "sim:b=no-ack-after:1", "params", "erase"}, &stop);
        QCOMPARE(run.status, 130);
        QCOMPARE(tableResults(run.out), QStringList({"sim: ok", "sim:b: interrupted"}));
        QCOMPARE(
            run.err.split('\n', Qt::SkipEmptyParts).filter("Interrupted"),
            QStringList("sim:b: Interrupted before the display was told to restart: what it stores may be "
                        "incomplete; run the command again"));
        QCOMPARE(fleet.byPort.at("sim").display.restarts(), 1);
        QCOMPARE(fleet.byPort.at("sim:b").display.restarts(), 0);
    }
};

QTEST_GUILESS_MAIN(FleetTest)
#include "test_fleet.moc"
