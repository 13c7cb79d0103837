#pragma once

#include <QString>

// How an operation talks to the person. The window supplies a Qt one, vfdctl one that prints,
// tests a scripted one that records what was shown.
class Dialogs
{
public:
    enum Icon { NoIcon, Critical, Exclamation, Information };

    virtual ~Dialogs() = default;
    // A modal box with an OK button; returns when the person has closed it.
    virtual void message(Icon icon, const QString& title, const QString& text,
                         const QString& detail = {}) = 0;
    // An input box: returns what was entered; *accepted (when given) is false when cancelled.
    virtual QString input(const QString& title, const QString& prompt, const QString& defaultText,
                          bool* accepted = nullptr) = 0;
    // A file-open dialog; an empty text when cancelled.
    virtual QString openFile(const QString& title) = 0;
    // A file-open dialog that shows every file, as openFile() does, and offers `typeFilter` (such as
    // "Text files (*.txt)") as a second choice in its type list.
    virtual QString openFileOfType(const QString& title, const QString& typeFilter)
    {
        Q_UNUSED(typeFilter);
        return openFile(title);
    }
    // A file-save dialog; an empty text when cancelled or where nothing can be chosen.
    virtual QString saveFile(const QString& title, const QString& suggestedName)
    {
        Q_UNUSED(title);
        Q_UNUSED(suggestedName);
        return {};
    }
};
