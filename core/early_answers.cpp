#include "core/early_answers.h"

#include "core/version.h"

#include <QStringList>
#include <cstdio>

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

int usageError(const ProgramUsage& usage, const QString& problem)
{
    std::fprintf(stderr, "%s: %s\n", usage.program, qPrintable(problem));
    return kUsageError;
}

} // namespace

std::optional<int> answerEarly(int argc, char* argv[], const ProgramUsage& usage,
                               QHash<QString, QString>& chosen)
{
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    const QString seeHelp = QStringLiteral(" (see %1 --help)").arg(QLatin1String(usage.program));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (word == QLatin1String("--version")) {
            std::printf("%s %s\n", usage.program, ProjectVersion::Text);
            return 0;
        }
        if (word == QLatin1String("--help")) {
            std::fputs(usage.help, stdout);
            return 0;
        }
        if (const int taken = qtOptionWords(word)) {
            if (i + taken > words.size()) {
                return usageError(usage, QStringLiteral("option %1 needs a value").arg(word));
            }
            i += taken - 1;
            continue;
        }
        const QString name = word.section(u'=', 0, 0);
        const ProgramOption* option = ownOption(usage, name);
        if (option == nullptr) {
            return usageError(usage, word.startsWith(u'-')
                                         ? QStringLiteral("unknown option %1").arg(name) + seeHelp
                                         : QStringLiteral("unexpected argument '%1'").arg(word) + seeHelp);
        }
        const bool joined = word.contains(u'=');
        if (joined && !option->takesValue) {
            return usageError(usage, QStringLiteral("option %1 takes no value").arg(name));
        }
        QString value = word.section(u'=', 1);
        if (option->takesValue && !joined) {
            // A value is never taken from the next option: "--port --factory" lacks its port.
            if (i + 1 == words.size() || words.at(i + 1).startsWith(u'-')) {
                return usageError(usage, QStringLiteral("option %1 needs a value").arg(name));
            }
            value = words.at(++i);
        }
        if (!chosen.contains(name)) {
            chosen.insert(name, value);
        }
    }
    return std::nullopt;
}
