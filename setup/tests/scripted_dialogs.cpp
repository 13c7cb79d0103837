#include "scripted_dialogs.h"

#include <QMutexLocker>

void ScriptedDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    QMutexLocker lock(&mutex_);
    shown_.append({icon, title, text, detail});
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt, const QString&, bool* accepted)
{
    QMutexLocker lock(&mutex_);
    shown_.append({NoIcon, title, prompt, QStringLiteral("input")});
    const bool have = !inputs_.isEmpty();
    if (accepted)
        *accepted = have;
    return have ? inputs_.takeFirst() : QString();
}

QString ScriptedDialogs::openFile(const QString& title)
{
    QMutexLocker lock(&mutex_);
    shown_.append({NoIcon, title, QString(), QStringLiteral("file")});
    return files_.isEmpty() ? QString() : files_.takeFirst();
}

QString ScriptedDialogs::saveFile(const QString& title, const QString&)
{
    return openFile(title);
}

void ScriptedDialogs::scriptInput(const QString& answer)
{
    QMutexLocker lock(&mutex_);
    inputs_.append(answer);
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
