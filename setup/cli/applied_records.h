#pragma once

#include "setup/cli/cli_command.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// What apply last applied to each port, kept between runs so that "apply --changed-only" sends nothing
// to a port that already holds the profile. One small file a port (its name percent-encoded, ".json"),
// so that the ports of one run and two runs at once never write the same file but for the same port;
// each is written to a new file and renamed over the old one, so a reader sees the old record or the
// new one, whole. The folder may hold other files: only those named so are read.
class AppliedRecords
{
public:
    explicit AppliedRecords(QString folder) : folder_(std::move(folder)) {}

    // The digest recorded for `port`; none when there is no record or it cannot be read or understood.
    std::optional<QByteArray> digestFor(const QString& port) const;
    // Records `digest` as applied to `port` at `time`; the reason when the file could not be written
    // whole (the old record, if any, is then left as it was), else nothing.
    QString record(const QString& port, const QByteArray& digest, const QDateTime& time) const;
    // Forgets what was applied to `port`: its display is about to be written and its state will no
    // longer be known. The reason when a record is there and cannot be removed, else nothing; then
    // nothing may be sent to the port, or the record would tell of a display that no longer holds it.
    QString forget(const QString& port) const;

private:
    QString fileFor(const QString& port) const;

    QString folder_;
};

// The folder of the records: $VFDCTL_STATE_DIR when set; else, as root,
// /var/lib/talvex-display-tools/applied; else the user's state folder "applied" (userStateFolder).
QString appliedRecordsFolder();

// Runs `job`, which writes to the run's port, once the port's record in `folder` is forgotten;
// when it cannot be, nothing is sent: the reason goes to stderr and the port fails.
int runForgettingRecord(const QString& folder, PortRun& run, const std::function<int()>& job);

// The preparation of a command whose job writes to the display: the job runs as runForgettingRecord
// runs it, with the run's records folder.
using CliPrepare = std::function<CliPlan(CliContext&, const QStringList& args)>;
CliPrepare forgettingRecords(CliPrepare prepare);
