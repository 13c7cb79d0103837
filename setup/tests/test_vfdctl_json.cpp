// vfdctl for a chain's configuration tool, in virtual time on two ports at once. --json against its
// written schema (docs/vfdctl-json-schema.json): every line of stdout one JSON object the schema allows,
// checked field by field, each port's facts those of its run, every field the schema names in some run.
// apply's records: a second run with --changed-only sends nothing where the record matches, and applies
// where the profile, a file it names or the encoding changed, with --force, where the record is corrupt
// or unreadable, and where the first run failed; --check sends nothing; two runs at once keep every
// port's record.
#include "setup/tests/fleet_stations.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QJsonObject readSchema()
{
    QFile file(QStringLiteral(VFDCTL_JSON_SCHEMA));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

bool hasType(const QJsonValue& value, const QString& type)
{
    if (type == "integer")
        return value.isDouble() && value.toDouble() == std::floor(value.toDouble());
    return (type == "string" && value.isString()) || (type == "number" && value.isDouble()) ||
           (type == "array" && value.isArray()) || (type == "object" && value.isObject());
}

// The first breach of the schema's words that vfdctl's schema uses, or empty. `fields` gains each field
// the schema names by its path ("steps.step"), true once a line held it.
QString breach(const QJsonValue& value, const QJsonObject& schema, QHash<QString, bool>& seen,
               const QString& at = {})
{
    if (schema.contains("oneOf")) {
        int passing = 0;
        for (const QJsonValue& branch : schema["oneOf"].toArray())
            passing += breach(value, branch.toObject(), seen, at).isEmpty();
        return passing == 1 ? QString() : at + ": matches " + QString::number(passing) + " branches";
    }
    if (schema.contains("type") && !hasType(value, schema["type"].toString()))
        return at + ": not " + schema["type"].toString();
    if (schema.contains("const") && value != schema["const"])
        return at + ": not the constant";
    if (schema.contains("enum") && !schema["enum"].toArray().contains(value))
        return at + ": not one of the values";
    if (schema.contains("minimum") && value.toDouble() < schema["minimum"].toDouble())
        return at + ": below the minimum";
    for (const QJsonValue& item : value.toArray())
        if (const QString error = breach(item, schema["items"].toObject(), seen, at); !error.isEmpty())
            return error;
    const QJsonObject object = value.toObject(), properties = schema["properties"].toObject();
    for (const QString& name : properties.keys())
        seen[at.isEmpty() ? name : at + "." + name] |= false;
    for (const QJsonValue& name : schema["required"].toArray())
        if (!object.contains(name.toString()))
            return at + "." + name.toString() + ": missing";
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = at.isEmpty() ? it.key() : at + "." + it.key();
        if (!properties.contains(it.key()))
            return path + ": not in the schema";
        if (const QString error = breach(*it, properties[it.key()].toObject(), seen, path); !error.isEmpty())
            return error;
        seen[path] = true;
    }
    return {};
}

// The lines of a --json run by port ("summary" for the summary); empty when stdout holds anything else
// or a line follows the summary.
QHash<QString, QJsonObject> linesByPort(const VfdctlRun& run)
{
    QHash<QString, QJsonObject> byPort;
    for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        if (object.isEmpty() || byPort.contains("summary"))
            return {};
        byPort.insert(object.contains("summary") ? "summary" : object["port"].toString(), object);
    }
    return byPort;
}

// Each port's result, as "port=result" joined by ",", sorted.
QString results(const VfdctlRun& run)
{
    QStringList results;
    for (const QJsonObject& line : linesByPort(run))
        if (line.contains("port"))
            results << line["port"].toString() + "=" + line["result"].toString();
    results.sort();
    return results.join(',');
}

QString compact(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

class VfdctlJsonTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    const QJsonObject schema_ = readSchema();
    QHash<QString, bool> seen_; // every field the schema names: whether a line held it

    // No records; the profile q.ini with its title file as the runs of the records find them.
    void resetRecords()
    {
        QDir(dir_.filePath("records")).removeRecursively();
        QVERIFY(writeFile(dir_.filePath("q.ini"), "[general]\ncode-page=PC850\n[title]\nfile=t.txt\n"));
        QVERIFY(writeFile(dir_.filePath("t.txt"), "Hello\nThere\n"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!schema_.isEmpty());
        QVERIFY(writeFile(dir_.filePath("FW_VQ7146.wfu"), wfuFile(imageBytes(1500))));
        QVERIFY(writeFile(dir_.filePath("p.ini"),
                          "[general]\ncode-page=PC850\n[title]\nline1=Hello\nline2=There\n"));
        QVERIFY(writeFile(dir_.filePath("b.ini"), "[demo]\nfile=none.bin\n"));
        QVERIFY(writeFile(dir_.filePath("d.bin"), demoBytes(600)));
    }

    // The words after the program's name (DIR: the test's folder), the exit status, and facts of the
    // lines as "PORT.FIELD=VALUE" (VALUE in compact JSON; PORT "summary" for the last line).
    void linesFollowTheSchema_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("facts"); // joined by " | "
        QTest::newRow("apply, one port absent")
            << "--ports sim,sim:b --sim-fault sim:b=absent apply DIR/p.ini" << 1
            << "sim.result=\"ok\" | sim:b.result=\"failed\" | sim:b.title=\"Port Status\" | "
               "sim:b.text=\"Display DSR not ready yet !!\" | sim:b.steps=[{\"result\":\"failed\",\"step\":"
               "\"general\"},{\"result\":\"not run\",\"step\":\"title\"}] | sim:b.seconds=1.001 | "
               "summary.ok=1 | summary.failed=1";
        // The first row recorded what it applied to sim.
        QTest::newRow("unchanged") << "--port sim apply --changed-only DIR/p.ini" << 0
                                   << "sim.result=\"unchanged\" | summary.unchanged=1";
        QTest::newRow("firmware, one port")
            << "--port sim firmware DIR/FW_VQ7146.wfu" << 0 << "sim.pages=3 | sim.command=\"firmware\"";
        QTest::newRow("a file refused on every port")
            << "--ports sim,sim:b apply DIR/b.ini" << 1
            << "sim:b.file=\"" + dir_.filePath("none.bin") + "\" | sim.seconds=0 | summary.failed=2";
    }
    void linesFollowTheSchema()
    {
        QFETCH(QString, words);
        QFETCH(int, status);
        QFETCH(QString, facts);
        Stations fleet{{}, dir_.filePath("state")};
        const VfdctlRun run = fleet.run(("--json " + words.replace("DIR", dir_.path())).split(' '));
        QCOMPARE(run.status, status);
        const QHash<QString, QJsonObject> byPort = linesByPort(run);
        for (const QJsonObject& line : byPort) {
            const QString wrong = breach(line, schema_, seen_);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong + " in " + QJsonDocument(line).toJson()));
        }
        QVERIFY2(byPort.contains("summary"), qPrintable(run.out)); // JSON lines alone, the summary last
        QCOMPARE(byPort.value("summary")["status"].toInt(), status);
        for (const QString& fact : facts.split(" | ")) {
            const QString port = fact.section('.', 0, 0), field = fact.section('.', 1).section('=', 0, 0);
            QCOMPARE(port + "." + field + "=" + compact(byPort.value(port)[field]), fact);
        }
    }

    // The first run's global options (it applies to sim and sim:b), what changes between the runs (a
    // file edited, the records spoilt, or "run:" a command on both ports), the second run's words
    // before the profile, and its results (only a port "ok" was sent anything).
    void secondRun_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expected");
        const QString same = "sim:b=unchanged,sim=unchanged", applied = "sim:b=ok,sim=ok";
        const auto row = [](const char* name, QString first, QString change, QString second,
                            QString expected) {
            QTest::newRow(name) << first << change << second << expected;
        };
        row("same", {}, {}, "apply --changed-only", same);
        row("without --changed-only", {}, {}, "apply", applied);
        row("--force", {}, {}, "apply --changed-only --force", applied);
        row("profile edited", {}, "q.ini", "apply --changed-only", applied);
        row("title file edited", {}, "t.txt", "apply --changed-only", applied);
        row("another encoding", {}, {}, "--encoding windows-1252 apply --changed-only", applied);
        row("the code page's own encoding named", {}, {}, "--encoding IBM850 apply --changed-only", same);
        row("records corrupt", {}, "corrupt", "apply --changed-only", applied);
#ifdef Q_OS_UNIX
        row("records FIFOs", {}, "fifo", "apply --changed-only", applied); // not opened: no hang
#endif
        // The record cannot be forgotten: a display written now would be said to hold what it held.
        row("a folder in each record's place", {}, "folder", "apply", "sim:b=failed,sim=failed");
        for (const char* command :
             {"params write", "params erase", "title write A B", "title erase", "demo write DIR/d.bin",
              "demo erase", "balance 200", "balance --store", "firmware DIR/FW_VQ7146.wfu"})
            row(command, {}, QString("run:") + command, "apply --changed-only", applied);
        row("--sim-reset", {}, {}, "--sim-reset apply --changed-only", applied);
        row("first failed at once", "--sim-fault sim:b=absent", {}, "apply --changed-only",
            "sim:b=ok,sim=unchanged");
        row("first failed after a step", "--sim-fault sim:b=no-ack-after:2", {}, "apply --changed-only",
            "sim:b=ok,sim=unchanged");
        row("check, unchanged", {}, {}, "apply --check --changed-only", same);
        row("check, would apply", {}, "t.txt", "apply --check --changed-only",
            "sim:b=would apply,sim=would apply");
        row("check, absent", {}, {}, "--sim-fault sim:b=absent apply --check",
            "sim:b=failed,sim=would apply");
    }
    void secondRun()
    {
        QFETCH(QString, first);
        QFETCH(QString, change);
        QFETCH(QString, second);
        QFETCH(QString, expected);
        resetRecords();
        const QDir state(dir_.filePath("records"));
        const QString profile = dir_.filePath("q.ini");
        const QString firstRun = "--ports sim,sim:b " + first + " apply " + profile;
        Stations before{{}, state.path()};
        QCOMPARE(before.run(firstRun.split(' ', Qt::SkipEmptyParts)).status, first.isEmpty() ? 0 : 1);
        for (const QString& record : state.entryList(QDir::Files)) {
            if (change == "corrupt")
                QVERIFY(writeFile(state.filePath(record), "{\"port\": \"sim\", \"dig"));
            if (change == "folder" || change == "fifo")
                QVERIFY(QFile::remove(state.filePath(record)));
            if (change == "folder")
                QVERIFY(state.mkpath(record + "/inside"));
#ifdef Q_OS_UNIX
            if (change == "fifo")
                QCOMPARE(mkfifo(qPrintable(state.filePath(record)), 0600), 0);
#endif
        }
        if (change.startsWith("run:")) {
            Stations between{{}, state.path()};
            const QString words = "--ports sim,sim:b " + change.mid(4).replace("DIR", dir_.path());
            QCOMPARE(between.run(words.split(' ')).status, 0);
        } else if (change.contains('.'))
            QVERIFY(writeFile(dir_.filePath(change), "; changed\n[title]\nline1=Changed\nline2=Lines\n"));
        Stations fleet{{}, state.path()};
        const VfdctlRun run = fleet.run(("--json --ports sim,sim:b " + second + " " + profile).split(' '));
        QCOMPARE(results(run), expected);
        QCOMPARE(run.err.count("cannot be removed"), change == "folder" ? 2 : 0);
        for (const auto& [port, station] : fleet.byPort)
            QCOMPARE(station.display.writes().isEmpty(), !expected.contains(port + "=ok"));
    }

    // Two runs at once, on other ports, into the same folder: neither loses the other's records.
    void twoRunsAtOnce()
    {
        resetRecords();
        const auto run = [this](const QString& ports) {
            Stations fleet{{}, dir_.filePath("records")};
            fleet.run({"--quiet", "--ports", ports, "apply", dir_.filePath("q.ini")});
        };
        std::thread other(run, "sim,sim:a");
        run("sim:b,sim:c");
        other.join();
        Stations fleet{{}, dir_.filePath("records")};
        const VfdctlRun last = fleet.run({"--json", "--ports", "sim,sim:a,sim:b,sim:c", "apply",
                                          "--changed-only", dir_.filePath("q.ini")});
        QCOMPARE(results(last), "sim:a=unchanged,sim:b=unchanged,sim:c=unchanged,sim=unchanged");
    }

    // Every field the schema names appears in one of the runs above.
    void everyFieldIsUsed()
    {
        QCOMPARE(seen_.keys(false), QStringList());
    }
};

QTEST_GUILESS_MAIN(VfdctlJsonTest)
#include "test_vfdctl_json.moc"
