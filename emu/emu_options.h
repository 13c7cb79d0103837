#pragma once

#include "demo/model/display_product.h"

#include "core/line_settings.h"
#include "core/program_command_line.h"

#include <QString>
#include <QStringList>

// What vfdemu was asked to do, from its command line.
struct EmuOptions
{
    DisplayProduct model = DisplayProduct::KD317;
    LineSettings settings;
    QString link;       // --link: a symbolic link to the pseudo-terminal
    QString port;       // --port: Windows, the second port of a null-modem pair
    QString screenFile; // --screen-file
    bool headless = false;
    bool trace = false;
};

// The command line read once, before anything is made: a display to run, a text to answer with, or a
// refusal. Which of them comes first on the line wins.
struct EmuCommandLine : CommandLineAnswer
{
    EmuOptions options; // Run
};

// Reads the arguments that follow the program's name. Touches nothing, prints nothing.
EmuCommandLine parseEmuCommandLine(const QStringList& arguments);

// vfdemu's options and its --help text, for printCommandLineAnswer().
const ProgramUsage& emuUsage();
