#include "setup/cli/applied_records.h"

#include "core/user_state_folder.h"
#include "core/whole_file_save.h"
#include "setup/protocol/display_access.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A record is far smaller; anything larger is not one of ours.
constexpr qint64 kRecordLimit = 64 * 1024;

} // namespace

QString AppliedRecords::fileFor(const QString& port) const
{
    return folder_ + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(port)) +
           QStringLiteral(".json");
}

std::optional<QByteArray> AppliedRecords::digestFor(const QString& port) const
{
    // Only a file is read: a FIFO or a device would block the run or never end.
    QFile file(fileFor(port));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kRecordLimit)
        return std::nullopt;
    const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    const QString digest = record.value(QStringLiteral("digest")).toString();
    if (record.value(QStringLiteral("port")).toString() != port || digest.isEmpty())
        return std::nullopt;
    return digest.toLatin1();
}

QString AppliedRecords::record(const QString& port, const QByteArray& digest, const QDateTime& time) const
{
    if (!QDir().mkpath(folder_))
        return QStringLiteral("cannot make the folder %1").arg(folder_);
    const QJsonObject record{{QStringLiteral("port"), port},
                             {QStringLiteral("digest"), QString::fromLatin1(digest)},
                             {QStringLiteral("time"), time.toUTC().toString(Qt::ISODate)}};
    return saveWholeFile(fileFor(port), QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
}

QString AppliedRecords::forget(const QString& port) const
{
    const QString path = fileFor(port);
    // A link that points nowhere is a record too (exists() follows it).
    if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (file.remove())
        return {};
    return QStringLiteral("the record %1 cannot be removed (%2)").arg(path, file.errorString());
}

int runForgettingRecord(const QString& folder, PortRun& run, const std::function<int()>& job)
{
    const QString port = run.access.selection.port;
    if (const QString reason = AppliedRecords(folder).forget(port); !reason.isEmpty()) {
        run.err << "vfdctl: nothing was sent to " << port << ": " << reason << Qt::endl;
        return CliExit::Failed;
    }
    return job();
}

CliPrepare forgettingRecords(CliPrepare prepare)
{
    return [prepare = std::move(prepare)](CliContext& context, const QStringList& args) {
        CliPlan plan = prepare(context, args);
        if (plan.job)
            plan.job = [folder = context.stateFolder, job = std::move(plan.job)](PortRun& run) {
                return runForgettingRecord(folder, run, [&] { return job(run); });
            };
        return plan;
    };
}

QString appliedRecordsFolder()
{
    if (const QString own = qEnvironmentVariable("VFDCTL_STATE_DIR"); !own.isEmpty())
        return own;
#ifdef Q_OS_UNIX
    if (geteuid() == 0)
        return QStringLiteral("/var/lib/talvex-display-tools/applied");
#endif
    return userStateFolder(QStringLiteral("applied"));
}
