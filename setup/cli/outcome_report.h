#pragma once

#include <QString>

class Dialogs;
class Outcome;
class QTextStream;
struct CliContext;
struct PortRun;
struct Refusal;

// vfdctl's presenter: what is still to be told of an outcome goes out, in the message catalogue's words,
// as the console's "Title: text" line (and its detail) on stderr; the result is the exit status.
int reportOutcome(Dialogs& console, const Outcome& outcome);
// The same for an operation on a port, followed by a line for a person where one says what the
// failure means and what to check. An operation that a stop request ended gives CliExit::Interrupted.
// `forcedFirmware`: the outcome ends a firmware update with --force.
int reportOutcome(PortRun& run, const Outcome& outcome, bool forcedFirmware = false);
// A file refused before any port is opened: its box, then the line that names the file. CliExit::Failed.
int reportRefusedFile(CliContext& context, const Refusal& refusal, const QString& path,
                      const QString& origin = {});

// The line after a file's refusal that names the file and, for a profile, where it names it
// (`origin`, e.g. "[firmware] file"): with several files the box alone does not say which.
void nameRefusedFile(QTextStream& err, const QString& path, const QString& origin = {});
