#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// An option of a program: "--port" followed by its value (or "--port=VALUE"), "--factory" standing alone.
struct ProgramOption
{
    const char* name;
    bool takesValue;
};

// What a program accepts on its command line besides --help, --version and Qt's own options.
struct ProgramUsage
{
    const char* program; // "vfdsetup"
    const char* help;    // the --help text
    QList<ProgramOption> options;
    bool shortVersion = false; // -v answers as --version (-h is --help in every program)
};

// What a command line asks before the program makes anything: to run, its help, its version, or a
// refusal (what is wrong, as it follows "program: ").
struct CommandLineAnswer
{
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString refusal;
};

// Takes one of the program's own options as it is read (the value empty for one that takes none): an
// empty text, or what is wrong with it.
using OptionTaker = std::function<QString(const QString& name, const QString& value)>;

// Reads the words that follow the program's name. --help (-h) and --version are answered; "--" ends the
// options. An unknown option, an option without its value (the next word is no value when it starts
// with "-"), a value given to an option that takes none and a word that is no option are refused, named
// as vfdctl names them, and so is an option that `take` refuses; the first of these in the line is the
// one answered. The options QApplication takes for itself (-platform, -style, -geometry, ...) pass.
// Touches nothing, prints nothing.
CommandLineAnswer readCommandLine(const QStringList& words, const ProgramUsage& usage,
                                  const OptionTaker& take);

// Prints an answer: the help or the version on stdout (status 0), a refusal on stderr (status 2).
// Nothing for a command line that runs.
std::optional<int> printCommandLineAnswer(const CommandLineAnswer& answer, const ProgramUsage& usage);

// The words of the program's command line after its name, as given: on Windows from the Unicode command
// line, for argv holds them in the system's 8-bit code page, which loses what it has no byte for.
QStringList commandLineWords(int argc, char* argv[]);

// Reads and answers the command line of a windowed program before Qt looks for a screen, so that
// everything it answers works without one. When the program goes on, `chosen` holds its own options
// given (the first of each, with its value or empty).
std::optional<int> answerCommandLine(int argc, char* argv[], const ProgramUsage& usage,
                                     QHash<QString, QString>& chosen);
