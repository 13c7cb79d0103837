#pragma once

#include "core/dialogs.h"

#include <QString>

// A box as the person meets it: the window shows it, vfdctl prints it as "Title: text" (the detail on
// the next line).
struct Message
{
    Dialogs::Icon icon;
    QString title;
    QString text;
    QString detail;
};

// Shows the box; returns when the person has closed it.
inline void showMessage(Dialogs& dialogs, const Message& message)
{
    dialogs.message(message.icon, message.title, message.text, message.detail);
}
