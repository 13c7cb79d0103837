#pragma once

#include "setup/protocol/port_selection.h"
#include "setup/sim/simulated_display.h"

#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

// The options before the command, read once.
struct GlobalOptions
{
    PortSelection selection; // the line settings and the encoding; its port is the default port
    QStringList ports;       // every port of the run, as given, each once
    QHash<QString, SimulatedDisplay::Faults> simFaults;
    bool trace = false;
    bool quiet = false;
    bool show = false;
    bool json = false; // results as JSON lines on stdout, nothing else there
    bool encodingNamed =
        false;             // --encoding was given: it holds even where a profile's code page implies another
    bool simReset = false; // every simulated display starts from the factory state
    bool help = false;     // --help came before any command
    bool version = false;  // --version came before any command
    qsizetype commandAt = 0; // where the command's words start
};

// Reads the global options at the start of `arguments`, up to the command or to --help or --version.
// Gives the exit status to end with, after its message on `err`, when they cannot be used (a usage
// error; "--ports all" on a system without ports). `systemPorts` gives what "--ports all" stands for.
std::optional<int> readGlobalOptions(const QStringList& arguments,
                                     const std::function<QStringList()>& systemPorts, QTextStream& err,
                                     GlobalOptions& options);

// True for a word that is a global option ("--quiet", "--baud=9600"), for the hint when one is given
// after the command.
bool isGlobalOption(const QString& word);
