#include "setup/operations/profile_digest.h"

#include "setup/operations/input_file.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// Files are read in pieces of this size: a large one never sits in memory whole.
constexpr qint64 kPieceSize = 64 * 1024;

// Adds a named part's head, its length first, so that no two sets of parts hash alike.
void addHead(QCryptographicHash& hash, const char* name, qint64 length)
{
    hash.addData(QByteArray(name) + '\0' + QByteArray::number(length) + '\0');
}

// False when the file cannot be read whole, is not a regular file, or changed its length meanwhile.
bool addFile(QCryptographicHash& hash, const char* name, const QString& path)
{
    if (path.isEmpty())
        return true;
    QFile file(path);
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 length = file.size();
    addHead(hash, name, length);
    qint64 read = 0;
    while (read < length) {
        const QByteArray piece = file.read(std::min(kPieceSize, length - read));
        if (piece.isEmpty())
            return false;
        hash.addData(piece);
        read += piece.size();
    }
    return file.atEnd();
}

} // namespace

QByteArray profileDigest(const QString& profilePath, const ProvisioningProfile& profile,
                         const QString& encodingName)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!addFile(hash, "profile", profilePath) || !addFile(hash, "firmware", profile.firmwareFile) ||
        !addFile(hash, "title", profile.titleFile) || !addFile(hash, "demo", profile.demoFile))
        return {};
    const QByteArray encoding = encodingName.toUtf8();
    addHead(hash, "encoding", encoding.size());
    hash.addData(encoding);
    return hash.result().toHex();
}
