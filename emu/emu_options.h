#pragma once

#include "link/demo_model.h"

#include "core/line_settings.h"

#include <QString>
#include <QStringList>
#include <optional>

// What vfdemu was asked to do, from its command line.
struct EmuOptions
{
    DemoModel model = DemoModel::KD317;
    LineSettings settings;
    QString link;       // --link: a symbolic link to the pseudo-terminal
    QString port;       // --port: Windows, the second port of a null-modem pair
    QString screenFile; // --screen-file
    bool headless = false;
    bool trace = false;
};

// True when the arguments ask for no window, which decides the kind of application made before the
// arguments are parsed whole.
bool wantsHeadless(int argc, char** argv);

// Parses the arguments (--help and --version print and exit here); nothing, with the message on stderr
// already, when they are wrong.
std::optional<EmuOptions> parseEmuOptions(const QStringList& arguments);
