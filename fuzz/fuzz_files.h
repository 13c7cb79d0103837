// The file checks read real files, so each fuzz input is written to disk first, into one
// temporary folder that lives as long as the fuzzer does.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

inline const QTemporaryDir& fuzzFolder()
{
    static const QTemporaryDir kFolder;
    if (!kFolder.isValid())
        std::abort();
    return kFolder;
}

// Writes `bytes` to `name` in the fuzzer's folder and returns the path.
inline QString writeFuzzFile(const QString& name, const QByteArray& bytes)
{
    const QString path = fuzzFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

// The content repeated or cut to `length` bytes; zeros when there is none. Lets a short input reach
// a file size limit.
inline QByteArray stretch(const QByteArray& content, qsizetype length)
{
    if (content.isEmpty())
        return QByteArray(length, '\0');
    QByteArray out;
    out.reserve(length);
    while (out.size() < length)
        out += content.left(length - out.size());
    return out;
}
