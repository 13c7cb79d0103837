// apply's record of what it applied to each port, in virtual time on two ports at once: a second run
// with --changed-only sends nothing where the record matches, and applies where the profile, a file it
// names or the encoding changed, with --force, where the record is corrupt or unreadable, and where
// the first run failed; --check sends nothing; two runs at once keep every port's record.
#include "fleet_stations.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <thread>

namespace {

// Each port's result in a --json run, as "port=result" joined by ",", sorted.
QString results(const VfdctlRun& run)
{
    QStringList results;
    for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        if (object.contains("port"))
            results << object["port"].toString() + "=" + object["result"].toString();
    }
    results.sort();
    return results.join(',');
}

} // namespace

class ChangedOnlyTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    VfdctlRun apply(const QString& words)
    {
        Stations fleet{{}, dir_.filePath("state")};
        const QString line = "--json --ports sim,sim:b " + words + " " + dir_.filePath("p.ini");
        return fleet.run(line.split(' ', Qt::SkipEmptyParts));
    }

private slots:
    void init()
    {
        QDir(dir_.filePath("state")).removeRecursively();
        QVERIFY(writeFile(dir_.filePath("p.ini"), "[general]\ncode-page=PC850\n[title]\nfile=t.txt\n"));
        QVERIFY(writeFile(dir_.filePath("t.txt"), "Hello\nThere\n"));
    }

    // The first run's global options (it applies to sim and sim:b), what changes between the runs, the
    // second run's words before the profile, and its results (a port "unchanged", or checked, was sent
    // nothing).
    void secondRun_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expected");
        const QString same = "sim:b=unchanged,sim=unchanged", applied = "sim:b=ok,sim=ok";
        QTest::newRow("same") << ""
                              << ""
                              << "apply --changed-only" << same;
        QTest::newRow("without --changed-only") << ""
                                                << ""
                                                << "apply" << applied;
        QTest::newRow("--force") << ""
                                 << ""
                                 << "apply --changed-only --force" << applied;
        QTest::newRow("profile edited") << ""
                                        << "p.ini"
                                        << "apply --changed-only" << applied;
        QTest::newRow("title file edited") << ""
                                           << "t.txt"
                                           << "apply --changed-only" << applied;
        QTest::newRow("another encoding") << ""
                                          << ""
                                          << "--encoding IBM850 apply --changed-only" << applied;
        QTest::newRow("records corrupt") << ""
                                         << "corrupt"
                                         << "apply --changed-only" << applied;
        QTest::newRow("records unreadable") << ""
                                            << "unreadable"
                                            << "apply --changed-only" << applied;
        QTest::newRow("first failed at once") << "--sim-fault sim:b=absent"
                                              << ""
                                              << "apply --changed-only"
                                              << "sim:b=ok,sim=unchanged";
        QTest::newRow("first failed after a step") << "--sim-fault sim:b=no-ack-after:2"
                                                   << ""
                                                   << "apply --changed-only"
                                                   << "sim:b=ok,sim=unchanged";
        QTest::newRow("check, unchanged") << ""
                                          << ""
                                          << "apply --check --changed-only" << same;
        QTest::newRow("check, would apply") << ""
                                            << "t.txt"
                                            << "apply --check --changed-only" << applied;
        QTest::newRow("check, absent") << ""
                                       << ""
                                       << "--sim-fault sim:b=absent apply --check"
                                       << "sim:b=failed,sim=ok";
    }
    void secondRun()
    {
        QFETCH(QString, first);
        QFETCH(QString, change);
        QFETCH(QString, second);
        QFETCH(QString, expected);
        QCOMPARE(apply(first + " apply").status == 0, first.isEmpty());
        const QDir state(dir_.filePath("state"));
        for (const QString& record : state.entryList(QDir::Files)) {
            if (change == "corrupt")
                QVERIFY(writeFile(state.filePath(record), "{\"port\": \"sim\", \"dig"));
            if (change == "unreadable")
                QVERIFY(QFile::remove(state.filePath(record)) && state.mkdir(record));
        }
        if (change.contains('.'))
            QVERIFY(writeFile(dir_.filePath(change), "; changed\n[title]\nline1=Changed\nline2=Lines\n"));
        Stations fleet{{}, state.path()};
        const QStringList words = (second + " " + dir_.filePath("p.ini")).split(' ');
        const VfdctlRun run = fleet.run(QStringList{"--json", "--ports", "sim,sim:b"} + words);
        QCOMPARE(results(run), expected);
        for (const auto& [port, station] : fleet.byPort)
            QCOMPARE(station.display.writes().isEmpty(),
                     second.contains("--check") || expected.contains(port + "=unchanged"));
    }

    // Two runs at once, on other ports, into the same folder: neither loses the other's records.
    void twoRunsAtOnce()
    {
        const auto run = [this](const QString& ports) {
            Stations fleet{{}, dir_.filePath("state")};
            fleet.run({"--quiet", "--ports", ports, "apply", dir_.filePath("p.ini")});
        };
        std::thread other(run, "sim,sim:a");
        run("sim:b,sim:c");
        other.join();
        Stations fleet{{}, dir_.filePath("state")};
        const VfdctlRun last = fleet.run({"--json", "--ports", "sim,sim:a,sim:b,sim:c", "apply",
                                          "--changed-only", dir_.filePath("p.ini")});
        QCOMPARE(results(last), "sim:a=unchanged,sim:b=unchanged,sim:c=unchanged,sim=unchanged");
    }
};

QTEST_GUILESS_MAIN(ChangedOnlyTest)
#include "test_changed_only.moc"
