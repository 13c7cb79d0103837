#include "demo_clock.h"
#include "demo_context.h"
#include "demo_dialogs.h"
#include "navigator.h"
#include "qt_serial_port.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vfddemo"));

    SystemClock clock;
    QtDialogs dialogs;
    DemoContext context;
    context.makePort = [] { return std::make_unique<QtSerialPort>(); };
    context.clock = &clock;
    context.dialogs = &dialogs;
    context.systemPorts = ListSystemPorts;
    context.endProgram = [] { QCoreApplication::exit(0); };

    Navigator navigator(context);
    navigator.showLauncher();
    return QApplication::exec();
}
