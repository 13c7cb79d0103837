// Measures vfdsetup's start-up: from main() to the main window shown and painted, with the
// simulated display's window open beside it, and the resident memory then. The notice box is
// answered at once (scripted) so only the program's own work is timed.
// Run: scripts/measure-startup.sh (which also times the whole process, loading included).
#include "core/pacer.h"
#include "setup/gui/main_window.h"
#include "setup/gui/simulated_display_window.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/scripted_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QWindow>

namespace {

// Resident memory in kB, from the kernel's view of this process.
long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    RealPacer pacer;
    SimulatedDisplay display(pacer);
    ScriptedDialogs dialogs;
    MainWindow window(DeviceServices{&pacer, &dialogs, &display, {}});
    window.presetPort(QStringLiteral("sim"));
    window.load();
    window.show();
    // Shown means: both windows exposed and painted once.
    while (!(window.windowHandle() && window.windowHandle()->isExposed() && window.simulatedDisplayWindow() &&
             window.simulatedDisplayWindow()->isVisible()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window.repaint();
    window.simulatedDisplayWindow()->repaint();
    const qint64 shownMs = sinceMain.elapsed();
    QTextStream(stdout) << "shown after " << shownMs << " ms; resident " << residentKilobytes() / 1024
                        << " MB" << Qt::endl;
    return 0;
}
