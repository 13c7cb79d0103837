#pragma once

#include "core/wire_text.h"
#include "setup/protocol/outcome.h"

#include <QByteArray>
#include <QString>

struct DisplayAccess;

// Characters per line of a VQ71xx display, and so of each title line.
constexpr int kTitleLineLength = 20;

// The 47-byte power-on title block: signature 55 AA 5A A5, 20 00 03, then each line's bytes in the
// wire encoding filled up with spaces to 20 (a longer line is cut to its first 20 characters). A null
// array when a character of a line has no byte in the encoding or a line takes more than 20 bytes.
QByteArray titlePageBlock(const QString& line1, const QString& line2,
                          const WireEncoding& encoding = WireEncoding());

// Why a line cannot go to the display (a character without a byte in the encoding, or more than 20
// bytes); passed when both lines can.
Outcome checkTitleLines(const QString& line1, const QString& line2, const WireEncoding& encoding);

// Writes the title page ("FC" with CRC, length 47 and the block) in the selection's wire encoding and
// restarts the display. A line the display cannot hold is refused before anything is sent.
Outcome writeTitlePage(DisplayAccess& access, const QString& line1, const QString& line2);
// Erases the title page ("FC" with four zero bytes) and restarts the display.
Outcome eraseTitlePage(DisplayAccess& access);
