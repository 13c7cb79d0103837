#include "setup/cli/cli_command.h"

#include <QHash>

bool parseArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flags,
               ParsedArgs* parsed, QString* error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args.at(i);
        if (word == QLatin1String("--")) { // the end of the options: "--- Welcome ---" is a line
            parsed->positional << args.mid(i + 1);
            break;
        }
        if (!word.startsWith(QLatin1String("--"))) {
            parsed->positional << word;
            continue;
        }
        QString name = word.mid(2);
        QString value;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool inlineValue = eq >= 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (flags.contains(name) && !inlineValue) {
            parsed->options.insert(name, QString());
        } else if (valueOptions.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    *error = QStringLiteral("option --%1 needs a value").arg(name);
                    return false;
                }
                value = args.at(++i);
            }
            parsed->options.insert(name, value);
        } else {
            *error = QStringLiteral("unknown option --%1").arg(name);
            return false;
        }
    }
    return true;
}
