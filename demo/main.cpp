#include "demo_clock.h"
#include "demo_context.h"
#include "demo_dialogs.h"
#include "navigator.h"
#include "qt_serial_port.h"
#include "sim/customer_display_emulator.h"
#include "sim/emulator_window.h"
#include "sim/sim_clock.h"
#include "sim/switching_serial_port.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vfddemo"));

    SystemClock clock;
    QtDialogs dialogs;
    DemoContext context;
    // One simulated display for the whole run, whichever windows come and go.
    SystemSimClock simulatedTime;
    CustomerDisplayEmulator emulator(simulatedTime);
    EmulatorWindow emulatorWindow(emulator);
    context.makePort =
        PortsWithEmulator(emulator, context.state, [] { return std::make_unique<QtSerialPort>(); });
    context.clock = &clock;
    context.dialogs = &dialogs;
    context.systemPorts = ListSystemPorts;
    context.endProgram = [] { QCoreApplication::exit(0); };

    Navigator navigator(context);
    QObject::connect(&emulator, &CustomerDisplayEmulator::lineConnected, &emulatorWindow,
                     [&] { emulatorWindow.showBeside(navigator.current()); });
    navigator.showLauncher();
    return QApplication::exec();
}
