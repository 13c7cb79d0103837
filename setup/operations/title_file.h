#pragma once

#include "core/wire_text.h"
#include "setup/protocol/refusal.h"

#include <QString>
#include <QStringList>

// The largest title file: two lines of 20 characters need far less; a larger file is one chosen by
// mistake, refused before it is read.
constexpr qint64 kTitleFileLimit = 64 * 1024;

// The lines read from a title text file: the first, then the second, each cut to the 20 characters
// a line box holds. Reading stops at the first line that cannot be read, so `lines` may hold fewer
// than two; the lines read still go into their boxes.
struct TitleFileLines
{
    QStringList lines;
    // Why the lines are fewer than two: the file cannot be read (or ends early), or is not text in
    // either encoding.
    Refusal refusal{Refusal::FileUnreadable};
    bool complete() const { return lines.size() == 2; }
};

// Reads the first two lines of a text file: UTF-8 (with or without a byte-order mark), or else text
// in the wire encoding; lines end in CR LF, LF or a lone CR. A file that cannot be opened, holds no
// text (a NUL byte, or bytes that decode in neither) or ends before its second line gives fewer than
// two lines.
TitleFileLines readTitleFile(const QString& path, const WireEncoding& encoding = WireEncoding());
