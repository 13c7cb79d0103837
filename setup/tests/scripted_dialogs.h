#pragma once

#include "setup/messages/catalogue_dialogs.h"

#include <QList>
#include <QMutex>
#include <QStringList>
#include <functional>

// Dialogs for tests: records every box that was shown (a notice in the message catalogue's words),
// cancels input boxes and answers file boxes from a script, in order. Safe to call from the
// operation's worker thread.
class ScriptedDialogs : public CatalogueDialogs
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
        QString detail;
        qsizetype at = -1; // what `sequence` said when the box was shown
    };

    // Asked at every box for the position it came at (a test passes the count of writes so far).
    std::function<qsizetype()> sequence;

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString& title) override;
    // Answered from the same script as openFile.
    QString saveFile(const QString& title, const QString& suggestedName) override;

    // Answers for the next file-open dialogs; an empty text is a cancel.
    void scriptFile(const QString& path);

    QList<Shown> shown() const;
    // "Title: text" of each box, the form used by assertions.
    QStringList messages() const;
    void clear();

private:
    mutable QMutex mutex_;
    QList<Shown> shown_;
    QStringList files_;
};
