#pragma once

#include "setup/cli/cli_command.h"

#include <QJsonObject>
#include <QMutex>
#include <QTextStream>

class ConsoleDialogs;

// vfdctl's presenter for machines (--json): one JSON object a line on stdout, a line for each port
// as its job ends and one summary line at the end. Ports end on their own threads: a line is written
// whole, never mixed with another.
class JsonLines
{
public:
    JsonLines(QTextStream& out, QString command) : out_(out), command_(std::move(command)) {}

    // A port's job ended with `status`; its first failure box is the one `dialogs` kept.
    void portEnded(const QString& port, int status, const ConsoleDialogs& dialogs, const JobReport& report,
                   double seconds);
    // The counts of the port lines so far and the run's exit status.
    void summary(int status);

private:
    void write(const QJsonObject& line);

    QMutex mutex_;
    QTextStream& out_;
    QString command_;
    QHash<QString, int> counts_; // by result
};
