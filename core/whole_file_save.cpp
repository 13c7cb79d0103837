#include "core/whole_file_save.h"

#include <QSaveFile>

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // The bytes wait in the file's buffer until a flush, and commit() renames the new file over the old
    // one even when its own last flush failed: on a full disk that left an empty file in place of a
    // sound one. So the flush is made and checked here, and a failed one cancels the rename.
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        // A write cut short (a full disk) leaves the system's reason unset: say how far it got.
        const QString reason =
            written >= 0 && written < bytes.size()
                ? QStringLiteral("the disk took only %1 of %2 bytes").arg(written).arg(bytes.size())
                : file.errorString();
        file.cancelWriting();
        file.commit(); // removes the new file; the old one stays
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
