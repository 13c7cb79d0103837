// vfdemu: a virtual customer display at the end of a serial line.
#include "demo/emulator_views/emulator_window.h"
#include "emu/device_link.h"
#include "emu/emu_options.h"
#include "emu/screen_sink.h"
#include "emu/screen_text.h"
#include "emu/virtual_display.h"

#include "core/pacer.h"
#include "core/version.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <utility>

#ifdef Q_OS_WIN
#include "emu/com_end.h"
#else
#include "emu/pty_end.h"
#include "emu/stop_signals.h"
#endif

namespace {

// The end of the line the program opens.
std::unique_ptr<FarEnd> makeFarEnd(const EmuOptions& options)
{
#ifdef Q_OS_WIN
    return std::make_unique<ComEnd>(options.port, options.settings);
#else
    return std::make_unique<PtyEnd>(options.settings);
#endif
}

// The screen text follows every byte, and the clock, blinking and moving lines in between. A file that
// cannot be written is reported once, not at every change.
void keepScreenText(ScreenSink& sink, VirtualDisplay& display, QTimer& ticks, const QString& file)
{
    const auto refresh = [&sink, file, reported = std::make_shared<bool>(false)] {
        if (!sink.refresh() && !std::exchange(*reported, true))
            std::fprintf(stderr, "vfdemu: cannot write %s\n", qPrintable(file));
    };
    QObject::connect(&display, &VirtualDisplay::changed, &sink, refresh);
    QObject::connect(&ticks, &QTimer::timeout, &sink, refresh);
    ticks.start(100);
    refresh();
}

// Why the screen file cannot be written, in the system's words; nothing when it can. Asked before
// anything is made, as a bad --link is refused before the first line.
QString screenFileRefusal(const QString& path)
{
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return {};
}

// Runs the display until a signal or the window ends it. The first line of output names the line only
// once everything it leads to exists: the line, its link and the screen file with the first screen.
int runDisplay(QCoreApplication& app, const EmuOptions& options)
{
    if (options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("talvex.wire.debug=true"));
    if (!options.screenFile.isEmpty()) {
        if (const QString why = screenFileRefusal(options.screenFile); !why.isEmpty()) {
            std::fprintf(stderr, "vfdemu: cannot write the screen file %s: %s\n",
                         qPrintable(options.screenFile), qPrintable(why));
            return 1;
        }
    }
    RealPacer pacer;
    VirtualDisplay display(pacer, options.model, options.settings);
    const std::unique_ptr<FarEnd> end = makeFarEnd(options);
#ifndef Q_OS_WIN
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, &app, &QCoreApplication::quit);
#endif
    if (const LinkStatus opened = end->open(); !opened.ok()) {
        std::fprintf(stderr, "vfdemu: cannot open the line: %s\n", qPrintable(opened.reason));
        return 1;
    }
    QObject::connect(end.get(), &FarEnd::received, &display, &VirtualDisplay::receive);
    DeviceLink link;
    if (!options.link.isEmpty()) {
        if (const LinkStatus made = link.make(end->name(), options.link); !made.ok()) {
            std::fprintf(stderr, "vfdemu: %s\n", qPrintable(made.reason));
            return 1;
        }
    }
    ScreenSink sink([&display] { return screenText(display); }, options.screenFile);
    QTimer ticks;
    const bool toFile = !options.screenFile.isEmpty();
    if (toFile)
        keepScreenText(sink, display, ticks, options.screenFile);
    std::printf("%s\n", qPrintable(end->name()));
    std::fflush(stdout);
    if (options.headless && !toFile)
        keepScreenText(sink, display, ticks, options.screenFile);
    std::unique_ptr<EmulatorWindow> window;
    if (!options.headless) {
        window = std::make_unique<EmulatorWindow>(display.emulator());
        window->setAttribute(Qt::WA_QuitOnClose, true);
        window->setWindowTitle(QStringLiteral("vfdemu: %1").arg(end->name()));
        window->show();
    }
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read whole before Qt starts, so that help, the version and wrong arguments are
    // answered without a display server and nothing is made for a command line that is refused. Qt's own
    // options (-platform, -style, ...) pass to the window.
    const QStringList arguments = commandLineWords(argc, argv);
    const EmuCommandLine command = parseEmuCommandLine(arguments);
    if (const std::optional<int> answered = printCommandLineAnswer(command, emuUsage()))
        return *answered;
    std::unique_ptr<QCoreApplication> app;
    if (command.options.headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vfdemu"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProjectVersion::kText));
    return runDisplay(*app, command.options);
}
