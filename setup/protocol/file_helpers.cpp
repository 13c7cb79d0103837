#include "setup/protocol/file_helpers.h"

#include <QFile>
#include <QFileInfo>

bool fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

qint64 fileLength(const QString& path)
{
    if (!fileExists(path))
        return -1;
    return QFileInfo(path).size();
}

std::optional<QByteArray> readFileBytes(const QString& path, qint64 start, qint64 count)
{
    if (!fileExists(path))
        return QByteArray();
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The length of the open file, not of an earlier look: the file may have changed since.
    const qint64 length = file.size();
    if (start < 1 || start > length)
        return QByteArray();
    const qint64 remaining = length - start + 1;
    const qint64 wanted = (count <= 0 || count > remaining) ? remaining : count;
    if (!file.seek(start - 1))
        return std::nullopt;
    QByteArray bytes = file.read(wanted);
    if (bytes.size() != wanted)
        return std::nullopt; // a short or failed read; QFile closes the file on every path
    return bytes;
}

qint64 byteCount(const std::optional<QByteArray>& bytes)
{
    return bytes ? bytes->size() : 0;
}

QString fileNameOf(const QString& path)
{
#ifdef Q_OS_WIN
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
#else
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.mid(cut + 1);
}
