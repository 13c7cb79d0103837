#include "emu/emu_options.h"

#include "core/quoted_value.h"

#include "emu/virtual_display.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const char* const kHelp =
    R"(Usage: vfdemu [options]
A virtual customer display at the end of a serial line, for point-of-sale developers.

On Linux and macOS vfdemu makes a pseudo-terminal and prints the path of the end to open on its first line of
output; a program writes display commands to it as to a real port. On Windows, install a virtual null-modem
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
follow "=".

Exit status: 0 after SIGINT, SIGTERM or the window closed; 1 when the line cannot be made; 2 for wrong
arguments.
)";

// A value echoed in a refusal may be megabytes long or hold control characters: only its start is shown.
QString quoted(const QString& value)
{
    return quotedValue(value, u'"');
}

// Each option that takes a value stores it, or says why it cannot.
using StoreValue = QString (*)(EmuOptions&, const QString&);

QString storeModel(EmuOptions& options, const QString& value)
{
    const std::optional<DemoModel> model = modelNamed(value);
    if (!model)
        return QStringLiteral("--model takes kd317, kd426 or kd138, not %1").arg(quoted(value));
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

const std::pair<QLatin1String, StoreValue> kValued[] = {
    {QLatin1String("--model"), storeModel},
    {QLatin1String("--settings"), storeSettings},
    {QLatin1String("--link"), storeText<&EmuOptions::link>},
    {QLatin1String("--port"), storeText<&EmuOptions::port>},
    {QLatin1String("--screen-file"), storeText<&EmuOptions::screenFile>},
};

const std::pair<QLatin1String, bool EmuOptions::*> kSwitches[] = {
    {QLatin1String("--headless"), &EmuOptions::headless},
    {QLatin1String("--trace"), &EmuOptions::trace},
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

const char* emuHelpText()
{
    return kHelp;
}

EmuCommandLine parseEmuCommandLine(const QStringList& arguments)
{
    EmuCommandLine command;
    const auto answer = [&command](EmuCommandLine::Action action, const QString& refusal = {}) {
        command.action = action;
        command.refusal = refusal;
        return command;
    };
    const auto looksLikeOption = [](const QString& word) { return word.startsWith(QLatin1Char('-')); };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("-h") || word == QLatin1String("--help"))
            return answer(EmuCommandLine::Action::Help);
        if (word == QLatin1String("-v") || word == QLatin1String("--version"))
            return answer(EmuCommandLine::Action::Version);
        if (!looksLikeOption(word))
            return answer(EmuCommandLine::Action::Refuse,
                          QStringLiteral("unexpected argument %1").arg(quoted(word)));
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = word.left(equals);
        const auto named = [&name](const auto& entry) { return entry.first == name; };
        if (const auto* it = std::find_if(std::begin(kSwitches), std::end(kSwitches), named);
            it != std::end(kSwitches)) {
            if (equals >= 0)
                return answer(EmuCommandLine::Action::Refuse,
                              QStringLiteral("option %1 takes no value").arg(name));
            command.options.*(it->second) = true;
            continue;
        }
        const auto* it = std::find_if(std::begin(kValued), std::end(kValued), named);
        if (it == std::end(kValued))
            return answer(EmuCommandLine::Action::Refuse,
                          QStringLiteral("unknown option %1").arg(quotedValue(name, QChar())));
        QString value;
        if (equals >= 0)
            value = word.mid(equals + 1);
        else if (i + 1 < arguments.size() && !looksLikeOption(arguments.at(i + 1)))
            value = arguments.at(++i);
        else
            return answer(EmuCommandLine::Action::Refuse,
                          QStringLiteral("option %1 needs a value").arg(name));
        if (const QString refusal = it->second(command.options, value); !refusal.isEmpty())
            return answer(EmuCommandLine::Action::Refuse, refusal);
    }
    if (const QString refusal = refusalOnThisSystem(command.options); !refusal.isEmpty())
        return answer(EmuCommandLine::Action::Refuse, refusal);
    return command;
}
