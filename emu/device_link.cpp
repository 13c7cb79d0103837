#include "emu/device_link.h"

#include <QFile>
#include <QFileInfo>

DeviceLink::~DeviceLink()
{
    if (!path_.isEmpty() && QFileInfo(path_).symLinkTarget() == target_)
        QFile::remove(path_);
}

bool DeviceLink::make(const QString& target, const QString& path, QString* reason)
{
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        QFile::remove(path);
    } else if (existing.exists()) {
        *reason = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    QFile file(target);
    if (!file.link(path)) {
        *reason = QStringLiteral("cannot make the link %1: %2").arg(path, file.errorString());
        return false;
    }
    target_ = QFileInfo(path).symLinkTarget();
    path_ = path;
    return true;
}
