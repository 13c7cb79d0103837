#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes`, whole or not at all: they go to a new file beside it, which
// is renamed over the old one only once every byte has reached it. Empty when it was saved; otherwise
// the system's reason, and the old file (or no file) is left as it was. The folder must exist.
QString saveWholeFile(const QString& path, const QByteArray& bytes);
