#include "protocol/port_messages.h"

#include "core/link_status.h"

QString portErrorText(int number)
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
