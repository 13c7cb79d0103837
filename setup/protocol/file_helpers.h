#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Small stateless file helpers: every read opens the file, reads and closes it again, so no file
// stays open between two actions. Positions count from 1. Paths are used as given.

// False for an empty path; otherwise true when a file or a folder of that name exists.
bool fileExists(const QString& path);
// -1 when fileExists is false; otherwise the length the file system reports, without reading.
qint64 fileLength(const QString& path);
// The bytes at positions start, start+1, ...: `count` of them, or all to the end when count is 0,
// never more than remain. A missing file or a start outside the file gives an empty sequence;
// a file that exists but cannot be opened or read gives nothing (a failure for the caller).
std::optional<QByteArray> readFileBytes(const QString& path, qint64 start, qint64 count);
// The number of bytes in a sequence; 0 for an empty or failed read.
qint64 byteCount(const std::optional<QByteArray>& bytes);
// The name part of a chosen path: what follows the last separator of this platform ("/" and "\" on
// Windows, "/" elsewhere), or the whole path when it has none.
QString fileNameOf(const QString& path);
