// vfdctl on several ports at once, against simulated displays in virtual time: each port's bytes
// and timing are those of a run on it alone, one failing port leaves the others alone, and a stop
// request ends every port between frames.
#include "fleet_stations.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Results = QMap<QString, QString>; // by port

// Each write as "time settings bytes", to compare two runs exactly.
QStringList transcript(const SimulatedDisplay& display)
{
    QStringList lines;
    for (const SimulatedDisplay::Write& write : display.writes())
        lines
            << QStringLiteral("%1 %2 %3").arg(write.time, 0, 'f', 3).arg(write.settings, write.bytes.toHex());
    return lines;
}

// The result column of the closing table, by port.
Results tableResults(const QString& out)
{
    static const QRegularExpression row(QStringLiteral("^(\\S+)  +(.*\\S)  +\\d+\\.\\d s$"));
    Results results;
    for (const QString& line : out.section(QStringLiteral("\nport "), 1).split(QLatin1Char('\n')).mid(1))
        if (const QRegularExpressionMatch match = row.match(line); match.hasMatch())
            results.insert(match.captured(1), match.captured(2));
    return results;
}

// A virtual clock that raises the stop request once it passes a moment, as a signal would.
class StoppingPacer : public VirtualPacer
{
public:
    StoppingPacer(std::atomic_bool& stop, qint64 atMs) : stop_(stop), atMs_(atMs) {}
    void pump() override
    {
        VirtualPacer::pump();
        check();
    }
    void sleep(int milliseconds) override
    {
        VirtualPacer::sleep(milliseconds);
        check();
    }

private:
    void check()
    {
        if (milliseconds() >= atMs_)
            stop_ = true;
    }
    std::atomic_bool& stop_;
    qint64 atMs_;
};

const QString kMissingPort = QStringLiteral("/dev/no-such-vfd-port");

} // namespace

class FleetTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString firmware_;

private slots:
    void initTestCase()
    {
        firmware_ = dir_.filePath(QStringLiteral("FW_VQ7146.wfu"));
        QVERIFY(writeFile(firmware_, wfuFile(imageBytes(1500))));
    }

    void portsRunAsAlone_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QStringList>("faults"); // --sim-fault values
        QTest::addColumn<int>("status");
        QTest::addColumn<Results>("results");
        const Results ok{{"sim", "ok"}, {"sim:b", "ok"}, {"sim:c", "ok"}};
        const auto with = [&](const QString& failing) {
            Results results = ok;
            results["sim:b"] = failing;
            return results;
        };
        const QStringList firmware{"firmware", firmware_};
        const QString notReady = "Port Status: Display DSR not ready yet !!";
        QTest::newRow("all succeed") << firmware << QStringList{} << 0 << ok;
        QTest::newRow("absent") << firmware << QStringList{"sim:b=absent"} << 1 << with(notReady);
        QTest::newRow("DSR late") << firmware << QStringList{"sim:b=dsr-late"} << 1 << with(notReady);
        QTest::newRow("setup request unacknowledged")
            << firmware << QStringList{"sim:b=no-ack"} << 1
            << with("Display ack. failed: Process.3( 36000/36003.02/True)");
        QTest::newRow("header unacknowledged")
            << firmware << QStringList{"sim:b=no-ack-after:1"} << 1
            << with("Display ack. failed: Process.3( 36001.34/36004.34/True)");
        QTest::newRow("record unacknowledged")
            << QStringList{"params", "write"} << QStringList{"sim:b=no-ack-after:1"} << 1
            << with("Display ack. failed: Process.3( 36000.34/36003.35/True)");
        Results missing = ok;
        missing.insert(kMissingPort, "Port Error: COM Port not Exist( 8002) !!");
        QTest::newRow("port missing") << firmware << QStringList{} << 1 << missing;
    }
    void portsRunAsAlone()
    {
        QFETCH(QStringList, command);
        QFETCH(QStringList, faults);
        QFETCH(int, status);
        QFETCH(Results, results);
        QStringList options{"--ports", results.keys().join(',')};
        for (const QString& fault : faults)
            options << "--sim-fault" << fault;
        Stations fleet;
        const VfdctlRun run = fleet.run(options + command);
        QCOMPARE(run.status, status);
        QCOMPARE(tableResults(run.out), results);
        // Piped, every line of a port carries its name.
        for (const QString& line :
             (run.out.section("\nport ", 0, 0) + run.err).split('\n', Qt::SkipEmptyParts))
            QVERIFY2(results.contains(line.section(": ", 0, 0)), qPrintable(line));
        // Each simulated display heard exactly what a run on its port alone sends, at the same moments.
        for (const auto& [port, station] : fleet.byPort) {
            Stations alone;
            alone.run(QStringList{"--port", port} + options.mid(2) + command);
            QCOMPARE(transcript(station->display), transcript(alone.at(port).display));
        }
    }

    void stopEndsEveryPortBetweenFrames_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("one port") << QStringList{"sim"} << "";
        QTest::newRow("three ports") << QStringList{"sim", "sim:b", "sim:c"} << "sim(:.)?: ";
    }
    void stopEndsEveryPortBetweenFrames()
    {
        QFETCH(QStringList, ports);
        QFETCH(QString, prefix);
        std::atomic_bool stop{false};
        Stations fleet;
        for (const QString& port : ports) // any port's clock past 3.5 s raises it: after a page or two
            fleet.byPort[port] = std::make_unique<Station>(std::make_unique<StoppingPacer>(stop, 3500));
        const VfdctlRun run = fleet.run({"--ports", ports.join(','), "firmware", firmware_}, &stop);
        QCOMPARE(run.status, 130);
        const QRegularExpression told(
            "^" + prefix +
            "Interrupted (after page [12] of 3: the display stays in its update state; "
            "run the update again, with --force if it no longer answers|before the "
            "first page.*)$");
        QVERIFY2(run.err.split(QLatin1Char(10), Qt::SkipEmptyParts).filter(told).size() == ports.size(),
                 qPrintable(run.err));
        for (const auto& [port, station] : fleet.byPort) {
            const SimulatedDisplay& display = station->display;
            QVERIFY(!display.isOpen());
            QCOMPARE(display.restarts(), 0); // no "F@" after an interruption
            QCOMPARE(display.garbageBytes(), 0);
            QVERIFY(display.flash().firmware.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(FleetTest)
#include "test_fleet.moc"
