// vfdctl: the command-line front end over the same operations as vfdsetup's window.
#include "setup/cli/console_text.h"
#include "setup/cli/stop_signal.h"
#include "setup/cli/vfdctl.h"
#include "setup/sim/simulated_flash_file.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const ConsoleText consoleText;
    QTextStream out(stdout);
    QTextStream err(stderr);
    VfdctlEnvironment environment;
    environment.stdoutIsTerminal = isatty(fileno(stdout)) != 0;
    environment.stopSignal = &stopOnSignals();
    environment.simulatedFlashFolder = SimulatedFlashFile::userFolder();
    return vfdctlMain(app.arguments().mid(1), out, err, environment);
}
