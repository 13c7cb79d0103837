#include "setup/tests/scripted_dialogs.h"

#include <QMutexLocker>

void ScriptedDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    const qsizetype at = sequence ? sequence() : -1;
    QMutexLocker lock(&mutex_);
    shown_.append({icon, title, text, detail, at});
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt, const QString&, bool* accepted)
{
    QMutexLocker lock(&mutex_);
    shown_.append({NoIcon, title, prompt, QStringLiteral("input"), -1});
    if (accepted)
        *accepted = false;
    return {};
}

QString ScriptedDialogs::openFile(const QString& title)
{
    QMutexLocker lock(&mutex_);
    shown_.append({NoIcon, title, QString(), QStringLiteral("file"), -1});
    return files_.isEmpty() ? QString() : files_.takeFirst();
}

QString ScriptedDialogs::saveFile(const QString& title, const QString&)
{
    return openFile(title);
}

void ScriptedDialogs::scriptFile(const QString& path)
{
    QMutexLocker lock(&mutex_);
    files_.append(path);
}

QList<ScriptedDialogs::Shown> ScriptedDialogs::shown() const
{
    QMutexLocker lock(&mutex_);
    return shown_;
}

QStringList ScriptedDialogs::messages() const
{
    QMutexLocker lock(&mutex_);
    QStringList out;
    for (const Shown& box : shown_)
        if (box.detail != QLatin1String("input") && box.detail != QLatin1String("file"))
            out << box.title + QStringLiteral(": ") + box.text;
    return out;
}

void ScriptedDialogs::clear()
{
    QMutexLocker lock(&mutex_);
    shown_.clear();
}
