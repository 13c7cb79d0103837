// vfdctl --json against its written schema (docs/vfdctl-json-schema.json): every line of stdout is one
// JSON object the schema allows, checked field by field, each port's facts are those of its run, and
// every field the schema names appears in some run.
#include "fleet_stations.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>

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

// The schema's words that vfdctl's schema uses; the first breach found, or empty. Each field checked
// is added to `seen` by its path ("steps.step").
QString breach(const QJsonValue& value, const QJsonObject& schema, QSet<QString>& seen,
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
    for (const QJsonValue& name : schema["required"].toArray())
        if (!object.contains(name.toString()))
            return at + "." + name.toString() + ": missing";
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = at.isEmpty() ? it.key() : at + "." + it.key();
        if (!properties.contains(it.key()))
            return path + ": not in the schema";
        if (const QString error = breach(*it, properties[it.key()].toObject(), seen, path); !error.isEmpty())
            return error;
        seen.insert(path);
    }
    return {};
}

// Every field path the schema names.
void schemaFields(const QJsonObject& schema, QSet<QString>& fields, const QString& at = {})
{
    if (schema.isEmpty())
        return;
    for (const QJsonValue& branch : schema["oneOf"].toArray())
        schemaFields(branch.toObject(), fields, at);
    schemaFields(schema["items"].toObject(), fields, at);
    const QJsonObject properties = schema["properties"].toObject();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QString path = at.isEmpty() ? it.key() : at + "." + it.key();
        fields.insert(path);
        schemaFields(it->toObject(), fields, path);
    }
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
    QSet<QString> seen_;

private slots:
    void initTestCase()
    {
        QVERIFY(!schema_.isEmpty());
        QVERIFY(writeFile(dir_.filePath("FW_VQ7146.wfu"), wfuFile(imageBytes(1500))));
        QVERIFY(writeFile(dir_.filePath("p.ini"),
                          "[general]\ncode-page=PC850\n[title]\nline1=Hello\nline2=There\n"));
        QVERIFY(writeFile(dir_.filePath("b.ini"), "[demo]\nfile=none.bin\n"));
    }

    // The words after the program's name (DIR: the test's folder), the exit status, and facts of the
    // lines as "PORT.FIELD=VALUE" (VALUE in compact JSON; PORT "summary" for the last line).
    void linesFollowTheSchema_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("facts");
        QTest::newRow("apply, one port absent")
            << "--ports sim,sim:b --sim-fault sim:b=absent apply DIR/p.ini" << 1
            << QStringList{"sim.result=\"ok\"",
                           "sim:b.result=\"failed\"",
                           "sim:b.title=\"Port Status\"",
                           "sim:b.text=\"Display DSR not ready yet !!\"",
                           "sim:b.steps=[{\"result\":\"failed\",\"step\":\"general\"},{\"result\":\"not "
                           "run\",\"step\":\"title\"}]",
                           "sim.seconds=3.145",
                           "summary.ok=1",
                           "summary.failed=1",
                           "summary.status=1"};
        QTest::newRow("firmware, one port") << "--port sim firmware DIR/FW_VQ7146.wfu" << 0
                                            << QStringList{"sim.pages=3", "sim.command=\"firmware\""};
        QTest::newRow("a file refused on every port")
            << "--ports sim,sim:b apply DIR/b.ini" << 1
            << QStringList{"sim:b.file=\"" + dir_.filePath("none.bin") + "\"", "sim.seconds=0",
                           "summary.failed=2"};
        // The first row recorded what it applied to sim.
        QTest::newRow("unchanged") << "--port sim apply --changed-only DIR/p.ini" << 0
                                   << QStringList{"sim.result=\"unchanged\"", "summary.unchanged=1"};
    }
    void linesFollowTheSchema()
    {
        QFETCH(QString, words);
        QFETCH(int, status);
        QFETCH(QStringList, facts);
        Stations fleet{{}, dir_.filePath("state")};
        const VfdctlRun run = fleet.run(("--json " + words.replace("DIR", dir_.path())).split(' '));
        QCOMPARE(run.status, status);
        QHash<QString, QJsonObject> byPort;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(line.toUtf8(), &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError && !object.isEmpty(), qPrintable(line));
            const QString wrong = breach(object, schema_, seen_);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong + " in " + line));
            QVERIFY2(!byPort.contains("summary"), "a line after the summary");
            byPort.insert(object.contains("summary") ? "summary" : object["port"].toString(), object);
        }
        QCOMPARE(byPort.value("summary")["status"].toInt(), status);
        for (const QString& fact : facts) {
            const QString port = fact.section('.', 0, 0), field = fact.section('.', 1).section('=', 0, 0);
            QCOMPARE(port + "." + field + "=" + compact(byPort.value(port)[field]), fact);
        }
    }

    // Every field the schema names appears in one of the runs above.
    void everyFieldIsUsed()
    {
        QSet<QString> fields;
        schemaFields(schema_, fields);
        QCOMPARE(fields - seen_, QSet<QString>());
    }
};

QTEST_GUILESS_MAIN(VfdctlJsonTest)
#include "test_vfdctl_json.moc"
