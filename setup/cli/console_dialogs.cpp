#include "setup/cli/console_dialogs.h"

namespace {
// The box's lines joined for one line of output.
QString oneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return line;
}
} // namespace

void ConsoleDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    if (icon == NoIcon || icon == Information) {
        if (!quiet)
            out_ << title << ": " << oneLine(text) << Qt::endl;
        return;
    }
    if (failures_++ == 0) {
        failureTitle_ = title;
        failureText_ = oneLine(text);
    }
    err_ << title << ": " << oneLine(text) << Qt::endl;
    if (!detail.isEmpty())
        err_ << "  " << detail << Qt::endl;
}

QString ConsoleDialogs::input(const QString&, const QString&, const QString& defaultText, bool* accepted)
{
    if (accepted)
        *accepted = true;
    return defaultText;
}

QString ConsoleDialogs::openFile(const QString&)
{
    return {};
}
