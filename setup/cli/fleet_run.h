#pragma once

#include "setup/cli/port_run.h"

#include <QList>
#include <QString>
#include <QTextStream>

class JsonLines;

// Runs a command's job on every port at once, each on its own device worker with its own link and
// pacer, so each port sees exactly the bytes and timing of a run on it alone. Output goes through a
// FleetConsole; trace lines carry their port. At the end a table gives each port's result ("ok", or
// the failure as "Title: text") and the time it took. Returns 0 when every port succeeded,
// CliExit::Interrupted when a stop request ended any, 1 otherwise. With `json` each port's result and
// the summary go to it instead of the table.
// `command` (the command's words) is each port's first live line.
int runFleet(const CliJob& job, const QList<PortTarget>& ports, const QString& command, QTextStream& out,
             QTextStream& err, bool stdoutIsTerminal, bool quiet, JsonLines* json = nullptr);
