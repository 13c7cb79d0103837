// vfdsetup: the configuration and service tool of the Talvex VQ71xx customer displays.
#include "form_main.h"
#include "pacer.h"
#include "simulated_display.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vfdsetup"));
    RealPacer pacer;
    SimulatedDisplay simulatedDisplay(pacer);
    DeviceServices services;
    services.pacer = &pacer;
    services.simulatedDisplay = &simulatedDisplay;
    formMain window(services);
    window.Form_Load();
    if (app.arguments().contains(QStringLiteral("--factory")))
        window.showFactoryPage();
    window.show();
    return app.exec();
}
