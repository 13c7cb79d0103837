// What a message may hold: printable characters on one line.
#pragma once

#include <QString>

// No character that prints nothing or would break the line (a surrogate pair counts as printable).
inline bool printableLine(const QString& text)
{
    for (const QChar c : text) {
        const bool breaks =
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
        if ((!c.isPrint() && !c.isSurrogate()) || breaks)
            return false;
    }
    return true;
}
