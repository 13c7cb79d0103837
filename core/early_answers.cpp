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

// The program's own option `word` is, alone or with its value joined by "="; nothing when it is none.
const ProgramOption* ownOption(const ProgramUsage& usage, const QString& word)
{
    for (const ProgramOption& option : usage.options) {
        const QString name = QLatin1String(option.name);
        if (word == name || (option.takesValue && word.startsWith(name + u'='))) {
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
        const ProgramOption* option = ownOption(usage, word);
        const int qtWords = option ? 0 : qtOptionWords(word);
        if (!option && qtWords == 0) {
            return usageError(usage, (word.startsWith(u'-') ? QStringLiteral("unknown option %1")
                                                            : QStringLiteral("unexpected argument '%1'"))
                                             .arg(word) +
                                         seeHelp);
        }
        const bool valueFollows = option ? option->takesValue && !word.contains(u'=') : qtWords == 2;
        if (valueFollows && i + 1 == words.size()) {
            return usageError(usage, QStringLiteral("option %1 needs a value").arg(word));
        }
        const QString value = valueFollows ? words.at(++i) : word.section(u'=', 1);
        if (option && !chosen.contains(QLatin1String(option->name))) {
            chosen.insert(QLatin1String(option->name), value);
        }
    }
    return std::nullopt;
}
