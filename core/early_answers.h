#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// An option of a windowed program: "--port" followed by its value (or "--port=VALUE"), "--factory"
// standing alone.
struct ProgramOption
{
    const char* name;
    bool takesValue;
};

// What a windowed program accepts on its command line besides --help, --version and Qt's own options.
struct ProgramUsage
{
    const char* program; // "vfdsetup"
    const char* help;    // the --help text
    QList<ProgramOption> options;
};

// Reads the command line of a windowed program before Qt looks for a screen, so that everything it
// answers works without one. --help and --version are printed (status 0); an unknown option, an option
// without its value (the next word is no value when it starts with "-"), a value given to an option that
// takes none and a word that is no option are usage errors, named on stderr as vfdctl names them
// (status 2); the first of these in the line is the one answered. The options QApplication takes for
// itself (-platform, -style, -geometry, ...) pass. Otherwise nothing is printed, `chosen` holds the
// program's own options given (the first of each, with its value or empty) and the program goes on.
std::optional<int> answerEarly(int argc, char* argv[], const ProgramUsage& usage,
                               QHash<QString, QString>& chosen);
