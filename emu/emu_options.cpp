#include "emu/emu_options.h"

#include "emu/virtual_display.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {

const char* const kDescription =
    R"(A virtual customer display at the end of a serial line, for point-of-sale developers.

On Linux and macOS vfdemu makes a pseudo-terminal and prints the path of the end to open on its first line of
output; a program writes display commands to it as to a real port. On Windows, install a virtual null-modem
pair (com0com, for instance: COM6 <-> COM7), give vfdemu one port of it (--port COM7) and let the program
open the other (COM6).

Bytes sent at other settings than the display's (--settings) show as garbage, as on a real display, and the
mismatch is logged on stderr.

--headless writes the screen as text after each change: to stdout (each screen followed by a blank line),
or replaced whole in the --screen-file. The text is each row of the screen at its full width, a blank line,
and "cursor ROW,COLUMN" counted from 1 ("cursor none" for the KD-426); the KD-426 then adds a blank line and
the lines printed on its receipt strip.)";

} // namespace

bool wantsHeadless(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    }
    return false;
}

std::optional<EmuOptions> parseEmuOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption model(QStringLiteral("model"),
                                   QStringLiteral("The display: kd317 (default), kd426 or kd138."),
                                   QStringLiteral("model"), QStringLiteral("kd317"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("The display's own line settings (default 9600,N,8,1)."),
                                      QStringLiteral("baud,parity,bits,stop"), QStringLiteral("9600,N,8,1"));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Also make a symbolic link PATH to the pseudo-terminal (removed on exit)."),
        QStringLiteral("PATH"));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Windows: listen on COMn, one port of a virtual null-modem pair."),
        QStringLiteral("COMn"));
    const QCommandLineOption headless(
        QStringLiteral("headless"), QStringLiteral("No window: write the screen as text after each change."));
    const QCommandLineOption screenFile(
        QStringLiteral("screen-file"),
        QStringLiteral("Write the screen text to PATH (replaced whole) instead of stdout."),
        QStringLiteral("PATH"));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Log every byte received and every command the display does not know."));
    parser.addOptions({model, settings, link, port, headless, screenFile, trace});
    parser.process(arguments);

    auto refuse = [](const QString& message) {
        std::fprintf(stderr, "vfdemu: %s\n", qPrintable(message));
        return std::nullopt;
    };
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    EmuOptions options;
    const std::optional<DemoModel> chosen = modelNamed(parser.value(model));
    if (!chosen)
        return refuse(
            QStringLiteral("--model takes kd317, kd426 or kd138, not \"%1\"").arg(parser.value(model)));
    options.model = *chosen;
    QString why;
    const std::optional<LineSettings> line = LineSettings::parse(parser.value(settings), &why);
    if (!line)
        return refuse(QStringLiteral("--settings: %1").arg(why));
    options.settings = *line;
    options.link = parser.value(link);
    options.port = parser.value(port);
    options.screenFile = parser.value(screenFile);
    options.headless = parser.isSet(headless);
    options.trace = parser.isSet(trace);
#ifdef Q_OS_WIN
    if (options.port.isEmpty())
        return refuse(QStringLiteral("give the null-modem port to listen on with --port COMn"));
    if (!options.link.isEmpty())
        return refuse(QStringLiteral("--link needs a pseudo-terminal, which Windows does not have"));
#else
    if (!options.port.isEmpty())
        return refuse(QStringLiteral("--port is for Windows; here vfdemu makes its own pseudo-terminal"));
#endif
    return options;
}
