#include "emu/device_link.h"

#include <QFile>
#include <QFileInfo>

DeviceLink::~DeviceLink()
{
    if (!path_.isEmpty() && QFileInfo(path_).symLinkTarget() == target_)
        QFile::remove(path_);
}

LinkStatus DeviceLink::make(const QString& target, const QString& path)
{
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        QFile::remove(path);
    } else if (existing.exists()) {
        return LinkStatus::failure(LinkFailure::OpenFailed,
                                   QStringLiteral("%1 exists and is not a symbolic link").arg(path));
    }
    QFile file(target);
    if (!file.link(path)) {
        return LinkStatus::failure(
            LinkFailure::OpenFailed,
            QStringLiteral("cannot make the link %1: %2").arg(path, file.errorString()));
    }
    target_ = QFileInfo(path).symLinkTarget();
    path_ = path;
    return LinkStatus::success();
}
