#pragma once

#include "core/dialogs.h"

#include <QList>
#include <QMutex>
#include <QStringList>

// Dialogs for tests: records every box that was shown and answers input and file boxes from a
// script, in order. Safe to call from the operation's worker thread.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
        QString detail;
    };

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString& title) override;
    // Answered from the same script as openFile.
    QString saveFile(const QString& title, const QString& suggestedName) override;

    // Answers for the next input boxes; an absent answer cancels.
    void scriptInput(const QString& answer);
    // Answers for the next file-open dialogs; an empty text is a cancel.
    void scriptFile(const QString& path);

    QList<Shown> shown() const;
    // "Title: text" of each box, the form used by assertions.
    QStringList messages() const;
    void clear();

private:
    mutable QMutex mutex_;
    QList<Shown> shown_;
    QStringList inputs_;
    QStringList files_;
};
