#pragma once

#include "setup/protocol/outcome.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct DisplayAccess;

// A DEMO goes to the display in blocks of up to 512 bytes; its header announces the pages as
// 0x78 + P in one byte, so at most 135 pages (69,120 bytes) can be announced.
constexpr qint64 kDemoBlockSize = 512;
constexpr int kDemoPageBase = 0x78;
constexpr int kDemoMaxPages = 0xFF - kDemoPageBase;
constexpr qint64 kDemoMaxLength = kDemoMaxPages * kDemoBlockSize;

// The 5-byte header for a file of `fileLength` bytes: signature, then 0x78 + pages. A null array
// when the file is too long to be announced.
QByteArray demoHeader(qint64 fileLength);

// Writes the DEMO file at `path` into the display: the header, then the file's blocks read from disk
// one at a time (the file's last two bytes held back), each acknowledged before the next is read;
// then the display restarts. A file too long to announce is refused before anything is sent; a file
// that has gone since it was chosen ends the write after the setup request with nothing to say; a
// file that cannot be read, or changes, during the transfer ends it as unreadable.
// `blockSent` (when given) hears the count of file bytes sent after each acknowledged block.
Outcome writeDemo(DisplayAccess& access, const QString& path,
                  const std::function<void(qint64 bytesSent)>& blockSent = {});
// Erases the stored DEMO with one empty block frame, without a setup request, and restarts the display.
Outcome eraseDemo(DisplayAccess& access);
