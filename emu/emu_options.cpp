#include "emu/emu_options.h"

#include "core/quoted_value.h"

#include "emu/virtual_display.h"

#include <algorithm>
#include <iterator>

namespace {

const char* const kHelp =
    R"(Usage: vfdemu [options]
A virtual customer display at the end of a serial line, for point-of-sale developers.

On Linux and macOS vfdemu makes a pseudo-terminal and prints the path of the end to open on its first line of
output, once the line, its --link and its --screen-file exist; a program writes display commands to it as to a
real port. On Windows, install a virtual null-modem
pair (com0com, for instance: COM6 <-> COM7), give vfdemu one port of it (--port COM7) and let the program
open the other (COM6).

Bytes sent at other settings than the display's (--settings) show as garbage, as on a real display, and the
mismatch is logged on stderr.

--headless writes the screen as text after each change: to stdout (each screen followed by a blank line),
or replaced whole in the --screen-file. The text is each row of the screen at its full width, a blank line,
and "cursor ROW,COLUMN" counted from 1 ("cursor none" for the KD-426); the KD-426 then adds a blank line and
the lines printed on its receipt strip.

Options:
  --model MODEL                 The display: kd317 (default), kd426 or kd138.
  --settings BAUD,PARITY,BITS,STOP
                                The display's own line settings (default 9600,N,8,1).
  --link PATH                   Also make a symbolic link PATH to the pseudo-terminal (removed on exit).
  --port COMn                   Windows: listen on COMn, one port of a virtual null-modem pair.
  --headless                    No window: write the screen as text after each change.
  --screen-file PATH            Write the screen text to PATH (replaced whole) instead of stdout.
  --trace                       Log every byte received and every command the display does not know.
  -h, --help                    Show this text.
  -v, --version                 Show the version.

A value follows its option as the next argument or after "=" (--link=PATH); one that starts with "-" must
follow "=". "--" ends the options.

Exit status: 0 after SIGINT, SIGTERM, SIGHUP or the window closed; 1 when the line, its link or the screen
file cannot be made; 2 for wrong arguments.
)";

// Each option stores its value (empty for a switch), or says why it cannot.
using StoreValue = QString (*)(EmuOptions&, const QString&);

QString storeModel(EmuOptions& options, const QString& value)
{
    const std::optional<DisplayProduct> model = modelNamed(value);
    if (!model)
        return QStringLiteral("--model takes kd317, kd426 or kd138, not %1").arg(quotedValue(value, u'"'));
    options.model = *model;
    return {};
}

QString storeSettings(EmuOptions& options, const QString& value)
{
    QString why;
    const std::optional<LineSettings> line = LineSettings::parse(value, &why);
    if (!line)
        return QStringLiteral("--settings: %1").arg(why);
    options.settings = *line;
    return {};
}

template <QString EmuOptions::*Field> QString storeText(EmuOptions& options, const QString& value)
{
    options.*Field = value;
    return {};
}

template <bool EmuOptions::*Field> QString storeSwitch(EmuOptions& options, const QString&)
{
    options.*Field = true;
    return {};
}

struct EmuOption
{
    ProgramOption option;
    StoreValue store;
};

const EmuOption kOptions[] = {
    {{"--model", true}, storeModel},
    {{"--settings", true}, storeSettings},
    {{"--link", true}, storeText<&EmuOptions::link>},
    {{"--port", true}, storeText<&EmuOptions::port>},
    {{"--screen-file", true}, storeText<&EmuOptions::screenFile>},
    {{"--headless", false}, storeSwitch<&EmuOptions::headless>},
    {{"--trace", false}, storeSwitch<&EmuOptions::trace>},
};

// What the options ask of the system they run on.
QString refusalOnThisSystem(const EmuOptions& options)
{
#ifdef Q_OS_WIN
    if (options.port.isEmpty())
        return QStringLiteral("give the null-modem port to listen on with --port COMn");
    if (!options.link.isEmpty())
        return QStringLiteral("--link needs a pseudo-terminal, which Windows does not have");
#else
    if (!options.port.isEmpty())
        return QStringLiteral("--port is for Windows; here vfdemu makes its own pseudo-terminal");
#endif
    return {};
}

} // namespace

const ProgramUsage& emuUsage()
{
    static const ProgramUsage kUsage = [] {
        ProgramUsage usage{"vfdemu", kHelp, {}, true};
        for (const EmuOption& each : kOptions)
            usage.options.append(each.option);
        return usage;
    }();
    return kUsage;
}

EmuCommandLine parseEmuCommandLine(const QStringList& arguments)
{
    EmuCommandLine command;
    const auto take = [&command](const QString& name, const QString& value) {
        const auto* it = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&name](const EmuOption& each) { return name == each.option.name; });
        return it->store(command.options, value);
    };
    static_cast<CommandLineAnswer&>(command) = readCommandLine(arguments, emuUsage(), take);
    if (command.action == CommandLineAnswer::Action::Run) {
        if (const QString refusal = refusalOnThisSystem(command.options); !refusal.isEmpty())
            static_cast<CommandLineAnswer&>(command) = {CommandLineAnswer::Action::Refuse, refusal};
    }
    return command;
}
