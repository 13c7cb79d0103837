#include "cli/applied_records.h"

#include "core/user_state_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
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
    QFile file(fileFor(port));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kRecordLimit)
        return std::nullopt;
    const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    const QString digest = record.value(QStringLiteral("digest")).toString();
    if (record.value(QStringLiteral("port")).toString() != port || digest.isEmpty())
        return std::nullopt;
    return digest.toLatin1();
}

bool AppliedRecords::record(const QString& port, const QByteArray& digest, const QDateTime& time) const
{
    if (!QDir().mkpath(folder_))
        return false;
    // QSaveFile writes a new file beside the old one and renames it over it only once it is whole.
    QSaveFile file(fileFor(port));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QJsonObject record{{QStringLiteral("port"), port},
                             {QStringLiteral("digest"), QString::fromLatin1(digest)},
                             {QStringLiteral("time"), time.toUTC().toString(Qt::ISODate)}};
    file.write(QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
    return file.commit();
}

void AppliedRecords::forget(const QString& port) const
{
    QFile::remove(fileFor(port));
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
