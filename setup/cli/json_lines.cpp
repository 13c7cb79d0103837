#include "setup/cli/json_lines.h"

#include "setup/cli/console_dialogs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace {

QString resultWord(int status, const JobReport& report)
{
    if (status == CliExit::Ok && report.wouldApply)
        return QStringLiteral("would apply"); // not "ok": nothing was written
    if (status == CliExit::Ok)
        return report.unchanged ? QStringLiteral("unchanged") : QStringLiteral("ok");
    return status == CliExit::Interrupted ? QStringLiteral("interrupted") : QStringLiteral("failed");
}

} // namespace

void JsonLines::portEnded(const QString& port, int status, const ConsoleDialogs& dialogs,
                          const JobReport& report, double seconds)
{
    const QString result = resultWord(status, report);
    QJsonObject line{{QStringLiteral("port"), port},
                     {QStringLiteral("command"), command_},
                     {QStringLiteral("result"), result},
                     {QStringLiteral("seconds"), std::round(seconds * 1000) / 1000}};
    if (!dialogs.failureTitle().isEmpty()) {
        line.insert(QStringLiteral("title"), dialogs.failureTitle());
        line.insert(QStringLiteral("text"), dialogs.failureText());
    }
    if (!report.file.isEmpty())
        line.insert(QStringLiteral("file"), report.file);
    if (!report.steps.isEmpty()) {
        QJsonArray steps;
        for (const JobReport::Step& step : report.steps)
            steps.append(
                QJsonObject{{QStringLiteral("step"), step.name}, {QStringLiteral("result"), step.result}});
        line.insert(QStringLiteral("steps"), steps);
    }
    if (report.pagesSent >= 0)
        line.insert(QStringLiteral("pages"), report.pagesSent);
    const QMutexLocker lock(&mutex_);
    ++counts_[result];
    write(line);
}

void JsonLines::summary(int status)
{
    const QMutexLocker lock(&mutex_);
    QJsonObject line{{QStringLiteral("summary"), true}, {QStringLiteral("status"), status}};
    for (const char* result : {"ok", "failed", "unchanged", "interrupted", "would apply"})
        line.insert(QLatin1String(result), counts_.value(QLatin1String(result)));
    write(line);
}

void JsonLines::write(const QJsonObject& line)
{
    out_ << QJsonDocument(line).toJson(QJsonDocument::Compact) << Qt::endl;
}
