#include "operations/profile_digest.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// Adds a named part with its length first, so that no two sets of parts hash alike.
void addPart(QCryptographicHash& hash, const char* name, const QByteArray& bytes)
{
    hash.addData(QByteArray(name) + '\0' + QByteArray::number(bytes.size()) + '\0');
    hash.addData(bytes);
}

bool addFile(QCryptographicHash& hash, const char* name, const QString& path)
{
    if (path.isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    addPart(hash, name, file.readAll());
    return true;
}

} // namespace

QByteArray profileDigest(const QString& profilePath, const ProvisioningProfile& profile,
                         const QString& encodingName)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!addFile(hash, "profile", profilePath) || !addFile(hash, "firmware", profile.firmwareFile) ||
        !addFile(hash, "title", profile.titleFile) || !addFile(hash, "demo", profile.demoFile))
        return {};
    addPart(hash, "encoding", encodingName.toUtf8());
    return hash.result().toHex();
}
