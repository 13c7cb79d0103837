#include "core/program_command_line.h"

#include "core/quoted_value.h"
#include "core/version.h"

#include <QStringList>
#include <cstdio>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

constexpr int kUsageError = 2;

// The options QApplication and its platforms take out of the command line, written with one dash or
// two: those followed by a value (-style and -stylesheet may join it with "="), and those standing
// alone. The last six with a value and the last two alone are the X11 platform's own.
const QStringList kQtOptionsWithValue = {"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "qwindowicon",
                                         "qwindowtitle",
                                         "session",
                                         "style",
                                         "stylesheet",
                                         "qmljsdebugger",
                                         "display",
                                         "geometry",
                                         "title",
                                         "icon",
                                         "name",
                                         "visual"};
const QStringList kQtFlags = {"reverse", "widgetcount", "testability", "nograb", "dograb"};
const QStringList kQtJoinedValues = {"style=", "stylesheet=", "qmljsdebugger="};

// How many words a Qt option takes (the option and its value), 0 when the word is none of Qt's.
int qtOptionWords(const QString& word)
{
    if (!word.startsWith(u'-')) {
        return 0;
    }
    const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
    if (kQtFlags.contains(name)) {
        return 1;
    }
    for (const QString& joined : kQtJoinedValues) {
        if (name.startsWith(joined)) {
            return 1;
        }
    }
    return kQtOptionsWithValue.contains(name) ? 2 : 0;
}

// The program's own option of that name; nothing when it has none.
const ProgramOption* ownOption(const ProgramUsage& usage, const QString& name)
{
    for (const ProgramOption& option : usage.options) {
        if (name == QLatin1String(option.name)) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

CommandLineAnswer readCommandLine(const QStringList& words, const ProgramUsage& usage,
                                  const OptionTaker& take)
{
    const auto refuse = [](const QString& problem) {
        return CommandLineAnswer{CommandLineAnswer::Action::Refuse, problem};
    };
    const QString seeHelp = QStringLiteral(" (see %1 --help)").arg(QLatin1String(usage.program));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (word == QLatin1String("--version") || (usage.shortVersion && word == QLatin1String("-v"))) {
            return {CommandLineAnswer::Action::Version, {}};
        }
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            return {CommandLineAnswer::Action::Help, {}};
        }
        if (word == QLatin1String("--")) {
            // The end of the options: what follows is no option, and these programs take no other words.
            if (i + 1 < words.size()) {
                return refuse(QStringLiteral("unexpected argument %1").arg(quotedValue(words.at(i + 1))) +
                              seeHelp);
            }
            break;
        }
        if (const int taken = qtOptionWords(word)) {
            if (i + taken > words.size()) {
                return refuse(QStringLiteral("option %1 needs a value").arg(word));
            }
            i += taken - 1;
            continue;
        }
        const QString name = word.section(u'=', 0, 0);
        const ProgramOption* option = ownOption(usage, name);
        if (option == nullptr) {
            return refuse(word.startsWith(u'-')
                              ? QStringLiteral("unknown option %1").arg(quotedValue(name, QChar())) + seeHelp
                              : QStringLiteral("unexpected argument %1").arg(quotedValue(word)) + seeHelp);
        }
        const bool joined = word.contains(u'=');
        if (joined && !option->takesValue) {
            return refuse(QStringLiteral("option %1 takes no value").arg(name));
        }
        QString value = word.section(u'=', 1);
        if (option->takesValue && !joined) {
            // A value is never taken from the next option: "--port --factory" lacks its port.
            if (i + 1 == words.size() || words.at(i + 1).startsWith(u'-')) {
                return refuse(QStringLiteral("option %1 needs a value").arg(name));
            }
            value = words.at(++i);
        }
        if (const QString problem = take(name, value); !problem.isEmpty()) {
            return refuse(problem);
        }
    }
    return {};
}

std::optional<int> printCommandLineAnswer(const CommandLineAnswer& answer, const ProgramUsage& usage)
{
    switch (answer.action) {
    case CommandLineAnswer::Action::Run:
        break;
    case CommandLineAnswer::Action::Help:
        std::fputs(usage.help, stdout);
        return 0;
    case CommandLineAnswer::Action::Version:
        std::printf("%s %s\n", usage.program, ProjectVersion::kText);
        return 0;
    case CommandLineAnswer::Action::Refuse:
        // UTF-8, as everything the programs print: the system's 8-bit code page would lose characters.
        std::fprintf(stderr, "%s: %s\n", usage.program, answer.refusal.toUtf8().constData());
        return kUsageError;
    }
    return std::nullopt;
}

QStringList commandLineWords(int argc, char* argv[])
{
    QStringList words;
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            words << QString::fromWCharArray(wide[i]);
        ::LocalFree(wide);
    }
#else
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
#endif
    return words;
}

std::optional<int> answerCommandLine(int argc, char* argv[], const ProgramUsage& usage,
                                     QHash<QString, QString>& chosen)
{
    const QStringList words = commandLineWords(argc, argv);
    return printCommandLineAnswer(readCommandLine(words, usage,
                                                  [&chosen](const QString& name, const QString& value) {
                                                      if (!chosen.contains(name)) {
                                                          chosen.insert(name, value);
                                                      }
                                                      return QString();
                                                  }),
                                  usage);
}
