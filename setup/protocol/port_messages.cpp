#include "protocol/port_messages.h"

#include "protocol/device_context.h"

QString PortErrorText(int number)
{
    const QString n = QString::number(number);
    switch (number) {
    case LinkError::PortMissing:
        return QStringLiteral("COM Port not Exist( %1) !!").arg(n);
    case LinkError::PortInUse:
    case LinkError::PortInUseByOther:
        return QStringLiteral("COM Port Already Open( %1) !!").arg(n);
    default:
        return QStringLiteral("COM Port Open Error( %1) !!").arg(n);
    }
}

void ShowPortOpenError(DeviceContext& device, const LinkStatus& status)
{
    if (device.stopRequested())
        return;
    device.dialogs.message(Dialogs::Critical, QStringLiteral("Port Error"), PortErrorText(status.number),
                           status.reason);
}

void ShowPortWriteError(DeviceContext& device, const LinkStatus& status)
{
    if (device.stopRequested())
        return;
    device.dialogs.message(Dialogs::Critical, QStringLiteral("Port Error"),
                           QStringLiteral("COM Port Write Error( %1) !!").arg(status.number), status.reason);
}
