#pragma once

#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <functional>

struct DisplayAccess;
class SimulatedDisplay;

// What a vfdctl command works with.
struct CliSession
{
    DisplayAccess& access;
    QTextStream& out;
    QTextStream& err;
    SimulatedDisplay* simulatedDisplay; // set when --port sim
    bool stdoutIsTerminal = false;
    bool quiet = false; // --quiet: nothing on stdout on success
};

// Exit statuses shared by every command.
namespace CliExit {
constexpr int Ok = 0;
constexpr int Failed = 1; // the device or a file failed; the reason is on stderr
constexpr int Usage = 2;
} // namespace CliExit

struct CliCommand
{
    QString name;     // first word: "params", "title", ...
    QString synopsis; // one line per form, for the overview
    QString help;     // man-page style text for "vfdctl COMMAND --help"
    // Runs the command with the words after its name. Returns an exit status.
    std::function<int(CliSession&, const QStringList& args)> run;
};

// Every command, in the order the overview lists them.
QList<CliCommand> cliCommands();

// One command's definition each; command_table.cpp collects them.
CliCommand paramsCommand();
CliCommand listPortsCommand();
CliCommand titleCommand();
CliCommand demoCommand();
CliCommand balanceCommand();
CliCommand firmwareCommand();

// Splits "--name value" and "--name=value" options from positional words. Flags named in
// `flags` take no value. Returns false (with a message in *error) for an unknown option or a
// missing value.
struct ParsedArgs
{
    QStringList positional;
    QHash<QString, QString> options; // name without dashes -> value ("" for flags)
};
bool parseArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flags,
               ParsedArgs* parsed, QString* error);
