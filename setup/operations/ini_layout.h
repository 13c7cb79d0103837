#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The sections an INI file may hold, in the order a message names them, each with its keys.
using IniLayout = QList<std::pair<QString, QStringList>>;

// Where an INI text leaves its layout, and why; `line` 0 is the text as a whole.
struct IniLayoutProblem
{
    int line = 0;
    QString why;

    bool found() const { return !why.isEmpty(); }
};

// Checks an INI text before QSettings reads its values: QSettings takes any text without a word,
// drops a line or a character it cannot read, and merges a section given twice. The text must be
// UTF-8 (a byte-order mark allowed, no NUL); each line blank, a ";" comment, "[section]" or
// "key=value", none that QSettings would read on into the next line (a backslash escaping the line's
// end, a double quote left open in a value); every section
// one of `layout`'s, given once, holding at least one key and only its own keys, each once; and at
// least one section. Section and key names are matched exactly, except that QSettings reads
// "[general]" in any letter case.
IniLayoutProblem iniLayoutProblem(const QByteArray& text, const IniLayout& layout);
