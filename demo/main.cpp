#include "demo/emulator_views/emulator_window.h"
#include "demo/emulators/customer_display_emulator.h"
#include "demo/emulators/emulated_serial_port.h"
#include "demo/link/demo_context.h"
#include "demo/windows/navigator.h"

#include "core/device_worker.h"
#include "core/pacer.h"
#include "core/program_command_line.h"
#include "core/qt_serial_link.h"
#include "core/switching_link.h"
#include "widgets/gui_dialogs.h"

#include <QApplication>

namespace {

// The ports the system reports, for the port windows' list.
QList<SystemPortEntry> systemPorts()
{
    QList<SystemPortEntry> ports;
    for (const auto& [name, description] : QtSerialLink::systemPorts())
        ports.append({name, description});
    return ports;
}

} // namespace

int main(int argc, char* argv[])
{
    // Answered before Qt looks for a screen, so that they work without one.
    const ProgramUsage usage{
        "vfddemo",
        "Usage: vfddemo\n\n"
        "Demonstrates the Talvex KD-317 (ESC/POS), KD-426 and KD-138 customer displays,\n"
        "on a serial port or on a built-in simulated display.\n\n"
        "  -h, --help this text\n"
        "  --version  the program's version\n",
        {}};
    QHash<QString, QString> options;
    if (const std::optional<int> answered = answerCommandLine(argc, argv, usage, options))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vfddemo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vfddemo"));

    // One clock for the pauses, the local time and the simulated display.
    RealPacer pacer;
    const Navigator* navigation = nullptr;
    // The boxes stand over the window shown (or, while none is, over the window in front).
    GuiDialogs dialogs([&navigation]() -> QWidget* {
        QWidget* shown = navigation != nullptr ? navigation->current() : nullptr;
        return shown != nullptr && shown->isVisible() ? shown : QApplication::activeWindow();
    });
    dialogs.setInputMinimumWidth(420);
    // One simulated display for the whole run, whichever windows come and go.
    CustomerDisplayEmulator emulator(pacer);
    EmulatorWindow emulatorWindow(emulator);
    EmulatedSerialPort simulatedPort(emulator);
    // The one thread that reaches the port, for the whole run: the simulated display for "sim", the real
    // port otherwise. A write may push bytes for a second before the jobs' own limit (a second and the
    // line time) takes over.
    DeviceWorker worker(std::make_unique<SwitchingLink>(&simulatedPort, std::make_unique<QtSerialLink>(1000)),
                        pacer);
    DemoContext context;
    context.portWorker = &worker;
    context.simulatedDisplay = &simulatedPort;
    context.pacer = &pacer;
    context.dialogs = &dialogs;
    context.systemPorts = systemPorts;
    context.endProgram = [] { QCoreApplication::exit(0); };

    Navigator navigator(context);
    navigation = &navigator;
    QObject::connect(&emulator, &CustomerDisplayEmulator::lineConnected, &emulatorWindow,
                     [&] { emulatorWindow.showBeside(navigator.current()); });
    navigator.show(NextWindow::Launcher);
    const int status = QApplication::exec();
    navigation = nullptr;
    return status;
}
