// vfdsetup: the configuration and service tool of the Talvex VQ71xx customer displays.
#include "core/pacer.h"
#include "core/program_command_line.h"
#include "setup/gui/main_window.h"
#include "setup/sim/simulated_display.h"
#include "setup/sim/simulated_flash_file.h"
#include "setup/sim/simulated_port_lock.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Answered before Qt looks for a screen, so that they work without one.
    const ProgramUsage usage{
        "vfdsetup",
        "Usage: vfdsetup [--port PORT] [--factory]\n\n"
        "Configures and services Talvex VQ71xx customer displays.\n\n"
        "  --port PORT  start on PORT: COMn, a system port such as /dev/ttyUSB0, or sim\n"
        "  --factory    also show the Factory Adjustment Tool page\n"
        "  -h, --help   this text\n"
        "  --version    the program's version\n",
        {{"--port", true}, {"--factory", false}}};
    QHash<QString, QString> options;
    if (const std::optional<int> answered = answerCommandLine(argc, argv, usage, options))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vfdsetup"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vfdsetup"));
    RealPacer pacer;
    SimulatedDisplay simulatedDisplay(pacer);
    // The simulated display starts with what it held when vfdsetup (or vfdctl) last left it.
    const SimulatedFlashFile flashFile(SimulatedFlashFile::userFolder(), QStringLiteral("sim"));
    if (const QString problem = flashFile.restore(simulatedDisplay); !problem.isEmpty())
        qWarning("vfdsetup: sim starts from the factory state: %s", qPrintable(problem));
    // One program at a time opens it, as a real port: a vfdctl run on "sim" meanwhile is refused.
    SimulatedPortLock simulatedPort(
        simulatedDisplay,
        SimulatedPortLock::pathFor(SimulatedFlashFile::userFolder(), QStringLiteral("sim")));
    DeviceServices services;
    services.simulatedFlashFile = &flashFile;
    services.simulatedPort = &simulatedPort;
    services.pacer = &pacer;
    services.simulatedDisplay = &simulatedDisplay;
    MainWindow window(services);
    // "--port sim" starts on the simulated display, so the tool can be tried without hardware.
    if (options.contains(QStringLiteral("--port")))
        window.presetPort(options.value(QStringLiteral("--port")));
    window.load();
    if (options.contains(QStringLiteral("--factory")))
        window.showFactoryPage();
    window.show();
    return app.exec();
}
