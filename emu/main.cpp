// vfdemu: a virtual customer display at the end of a serial line.
#include "emu/device_link.h"
#include "emu/emu_options.h"
#include "emu/screen_sink.h"
#include "emu/screen_text.h"
#include "emu/virtual_display.h"
#include "sim/emulator_window.h"

#include "core/pacer.h"
#include "core/version.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include "emu/com_end.h"
#else
#include "emu/pty_end.h"
#include "emu/stop_signals.h"
#endif

namespace {

// Runs the display until a signal or the window ends it.
int runDisplay(QCoreApplication& app, const EmuOptions& options)
{
    if (options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("talvex.wire.debug=true"));
    RealPacer pacer;
    VirtualDisplay display(pacer, options.model, options.settings);
#ifdef Q_OS_WIN
    ComEnd end(options.port, options.settings);
#else
    PtyEnd end(options.settings);
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, &app, &QCoreApplication::quit);
#endif
    QString reason;
    if (!end.open(&reason)) {
        std::fprintf(stderr, "vfdemu: cannot open the line: %s\n", qPrintable(reason));
        return 1;
    }
    QObject::connect(&end, &FarEnd::received, &display, &VirtualDisplay::receive);
    std::printf("%s\n", qPrintable(end.name()));
    std::fflush(stdout);
    DeviceLink link;
    if (!options.link.isEmpty() && !link.make(end.name(), options.link, &reason)) {
        std::fprintf(stderr, "vfdemu: %s\n", qPrintable(reason));
        return 1;
    }

    // The screen text follows every byte, and the clock, blinking and moving lines in between.
    std::unique_ptr<ScreenSink> sink;
    QTimer ticks;
    bool reported = false;
    if (options.headless || !options.screenFile.isEmpty()) {
        sink = std::make_unique<ScreenSink>([&display] { return screenText(display); }, options.screenFile);
        // A file that cannot be written is reported once, not at every change.
        auto refresh = [&sink, &options, &reported] {
            if (!sink->refresh() && !reported) {
                reported = true;
                std::fprintf(stderr, "vfdemu: cannot write %s\n", qPrintable(options.screenFile));
            }
        };
        QObject::connect(&display, &VirtualDisplay::changed, sink.get(), refresh);
        QObject::connect(&ticks, &QTimer::timeout, sink.get(), refresh);
        ticks.start(100);
        refresh();
    }
    std::unique_ptr<EmulatorWindow> window;
    if (!options.headless) {
        window = std::make_unique<EmulatorWindow>(display.emulator());
        window->setAttribute(Qt::WA_QuitOnClose, true);
        window->setWindowTitle(QStringLiteral("vfdemu: %1").arg(end.name()));
        window->show();
    }
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read whole before Qt starts, so that help, the version and wrong arguments are
    // answered without a display server and nothing is made for a command line that is refused.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const EmuCommandLine command = parseEmuCommandLine(arguments);
    switch (command.action) {
    case EmuCommandLine::Action::Help:
        std::fputs(emuHelpText(), stdout);
        return 0;
    case EmuCommandLine::Action::Version:
        std::printf("vfdemu %s\n", ProjectVersion::Text);
        return 0;
    case EmuCommandLine::Action::Refuse:
        std::fprintf(stderr, "vfdemu: %s\n", qPrintable(command.refusal));
        return 2;
    case EmuCommandLine::Action::Run:
        break;
    }
    std::unique_ptr<QCoreApplication> app;
    if (command.options.headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vfdemu"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProjectVersion::Text));
    return runDisplay(*app, command.options);
}
