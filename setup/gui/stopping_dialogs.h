#pragma once

#include "setup/messages/catalogue_dialogs.h"

#include <atomic>

class GuiDialogs;

// The dialogs an operation of the window talks through: each call goes to the window's dialogs (a
// notice in the message catalogue's words), and once the window's boxes are closing (the window
// closes, or the event loop ended under a box) the operation is asked to stop, so that nothing more is
// sent after the box returns.
class StoppingDialogs : public CatalogueDialogs
{
public:
    StoppingDialogs(Dialogs& dialogs, const GuiDialogs* windowDialogs, std::atomic_bool& stop)
        : dialogs_(dialogs), windowDialogs_(windowDialogs), stop_(stop)
    {
    }

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        dialogs_.message(icon, title, text, detail);
        stopWhenClosing();
    }
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override
    {
        const QString answer = dialogs_.input(title, prompt, defaultText, accepted);
        stopWhenClosing();
        return answer;
    }
    QString openFile(const QString& title) override
    {
        const QString path = dialogs_.openFile(title);
        stopWhenClosing();
        return path;
    }
    QString openFileOfType(const QString& title, const QString& typeFilter) override
    {
        const QString path = dialogs_.openFileOfType(title, typeFilter);
        stopWhenClosing();
        return path;
    }
    QString saveFile(const QString& title, const QString& suggestedName) override
    {
        const QString path = dialogs_.saveFile(title, suggestedName);
        stopWhenClosing();
        return path;
    }

private:
    void stopWhenClosing();

    Dialogs& dialogs_;
    const GuiDialogs* windowDialogs_;
    std::atomic_bool& stop_;
};
