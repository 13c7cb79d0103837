#pragma once

#include "setup/messages/catalogue_dialogs.h"

#include <QTextStream>

// Dialogs for the command line: a failure box becomes "Title: text" on stderr (and its detail on
// the next line), a success box (no icon) a line on stdout, a notice the same in the message
// catalogue's words, and the operation goes on as if OK had been pressed. Questions cannot be asked:
// input boxes are answered with their default.
class ConsoleDialogs : public CatalogueDialogs
{
public:
    ConsoleDialogs(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString& title) override;

    bool quiet = false;
    int failures() const { return failures_; }
    // The first failure box as one "Title: text" line; empty while there was none.
    QString firstFailure() const
    {
        return failureTitle_.isEmpty() ? QString() : failureTitle_ + QStringLiteral(": ") + failureText_;
    }
    // The same box's title and text (its lines joined).
    const QString& failureTitle() const { return failureTitle_; }
    const QString& failureText() const { return failureText_; }

private:
    QTextStream& out_;
    QTextStream& err_;
    int failures_ = 0;
    QString failureTitle_;
    QString failureText_;
};
