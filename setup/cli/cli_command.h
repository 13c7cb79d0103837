#pragma once

#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <functional>

class Dialogs;
class WireEncoding;
struct DisplayAccess;
struct PortTarget;

// What a port's job tells beyond its exit status and its box, for the JSON presenter.
struct JobReport
{
    QString file; // a file that was refused
    struct Step
    {
        QString name;
        QString result; // "ok", "failed", "interrupted" or "not run"
    };
    QList<Step> steps;       // apply: every step of the profile, in order
    int pagesSent = -1;      // firmware: the pages the display acknowledged (-1: no update ran)
    bool unchanged = false;  // apply --changed-only: the port's record matched, nothing was sent
    bool wouldApply = false; // apply --check: the port was reached and an apply would write to it
};

// One port's run of a command's job: what the job works with there (the display, the port the run
// targets, the port's own output) and what it tells beyond its exit status.
struct PortRun
{
    DisplayAccess& access;
    const PortTarget& target; // its quiet and stdoutIsTerminal say how much goes to `out`
    QTextStream& out;
    QTextStream& err;
    // What was done and the state the display is left in, should the run be interrupted now; a
    // command keeps it up to date where it knows more (the firmware page count).
    QString interruption = QStringLiteral("Interrupted before the display was told to restart: what it "
                                          "stores may be incomplete; run the command again");
    JobReport report = {};
    // The last operation ended because the host looked too late to tell the display's answer.
    bool ackTooLate = false;
};

// What a command may use before any port is opened: its words and files are checked once, and a
// refusal is told once, however many ports the run has.
struct CliContext
{
    QTextStream& out;
    QTextStream& err;
    Dialogs& dialogs;
    const WireEncoding& encoding; // what text goes to the displays in
    QString stateFolder = {};     // where apply keeps what it applied to each port
    JobReport report = {};        // a file refused before any port was opened
    bool json = false;            // --json: stdout carries JSON alone
    bool encodingNamed = false;   // --encoding was given (else a profile's code page may imply another)
};

// Exit statuses shared by every command.
struct CliExit
{
    enum Status : int {
        Ok = 0,
        Failed = 1, // the device or a file failed; the reason is on stderr
        Usage = 2,
        Interrupted = 130, // a stop signal ended the run
    };
};

// The work of a command on one port; returns an exit status.
using CliJob = std::function<int(PortRun&)>;

struct CliPlan
{
    int status = CliExit::Ok; // the result when there is no job
    CliJob job;

    static CliPlan done(int status) { return {status, {}}; }
    static CliPlan run(CliJob job) { return {CliExit::Ok, std::move(job)}; }
    // A job whose frames can be sent again without harm: run once more when the host was too late.
    static CliPlan runRepeatable(CliJob job);
};

struct CliCommand
{
    QString name;     // first word: "params", "title", ...
    QString synopsis; // one line per form, for the overview
    QString help;     // man-page style text for "vfdctl COMMAND --help"
    // Checks the words after its name (and the files they name). Gives the work to do on each port,
    // or the exit status when there is none (a usage error, a refused file, a command without a port).
    std::function<CliPlan(CliContext&, const QStringList& args)> prepare;
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
CliCommand applyCommand();

// The firmware update of a checked image, as "firmware" and "apply" run it on each port. `forceAgain`
// says how the update is forced, for the advice after an interruption.
CliJob firmwareJob(const QByteArray& firmwareImage, bool forced,
                   const QString& forceAgain = QStringLiteral("with --force"));
// The DEMO write of a checked file on one port, as "demo write" and "apply" run it; a refusal of the
// file names it, with where a profile names it (`origin`).
int writeDemoFile(PortRun& run, const QString& path, const QString& origin = {});

// Splits "--name value" and "--name=value" options from positional words; every word after "--" is
// positional. Flags named in `flags` take no value. Returns false (with a message in *error) for an unknown
// option or a missing value.
struct ParsedArgs
{
    QStringList positional;
    QHash<QString, QString> options; // name without dashes -> value ("" for flags)
};
bool parseArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flags,
               ParsedArgs* parsed, QString* error);
