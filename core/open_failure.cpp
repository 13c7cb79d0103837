#include "core/open_failure.h"

#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

PortNode portNodeOf(const QString& systemName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(systemName);
    return PortNode::Present;
#else
    const bool path = systemName.startsWith(QLatin1Char('/')) || systemName.startsWith(QLatin1String("./")) ||
                      systemName.startsWith(QLatin1String("../"));
    const QString node = path ? systemName : QStringLiteral("/dev/") + systemName;
    if (!QFileInfo::exists(node))
        return PortNode::Missing;
#ifdef Q_OS_LINUX
    // Serial devices belong to the group dialout; a user outside it is refused by the system.
    if (::access(QFileInfo(node).absoluteFilePath().toLocal8Bit().constData(), R_OK | W_OK) != 0 &&
        errno == EACCES)
        return PortNode::NotPermitted;
#endif
    return PortNode::Present;
#endif
}

LinkStatus openFailureStatus(QSerialPort::SerialPortError error, const QString& reason, PortNode node)
{
    if (node == PortNode::Missing)
        return LinkStatus::failure(LinkFailure::PortMissing, reason);
    if (node == PortNode::NotPermitted)
        return LinkStatus::failure(
            LinkFailure::AccessDenied,
            QStringLiteral("%1 (add your user to the group dialout: sudo usermod -aG dialout $USER, "
                           "then log in again)")
                .arg(reason));
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return LinkStatus::failure(LinkFailure::PortMissing, reason);
    case QSerialPort::PermissionError: // held by another program (its lock file), or no right to it
        return LinkStatus::failure(LinkFailure::PortBusy, reason);
    case QSerialPort::OpenError: // this link has it open already
        return LinkStatus::failure(LinkFailure::PortOpenHere, reason);
    default:
        return LinkStatus::failure(LinkFailure::OpenFailed, reason);
    }
}
