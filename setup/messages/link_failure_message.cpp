#include "setup/messages/link_failure_message.h"

int linkFailureNumber(LinkFailure what)
{
    switch (what) {
    case LinkFailure::PortMissing:
        return 8002;
    case LinkFailure::PortBusy:
    case LinkFailure::AccessDenied: // the system says no in the same words as for a port in use
        return 8005;
    case LinkFailure::PortOpenHere:
        return 8015;
    case LinkFailure::WriteFailed:
        return 8020;
    case LinkFailure::BadPortName:
    case LinkFailure::SettingsRefused: // the control refused a settings text as an open error
    case LinkFailure::OpenFailed:
        return 8010;
    case LinkFailure::None:
    case LinkFailure::DsrUnreadable:
        break;
    }
    return 0;
}

Message linkFailureMessage(const LinkStatus& status)
{
    const int number = linkFailureNumber(status.what);
    QString text;
    switch (status.what) {
    case LinkFailure::PortMissing:
        text = QStringLiteral("COM Port not Exist( %1) !!").arg(number);
        break;
    case LinkFailure::PortBusy:
    case LinkFailure::PortOpenHere:
    case LinkFailure::AccessDenied:
        text = QStringLiteral("COM Port Already Open( %1) !!").arg(number);
        break;
    case LinkFailure::WriteFailed:
        text = QStringLiteral("COM Port Write Error( %1) !!").arg(number);
        break;
    case LinkFailure::DsrUnreadable:
        // Not "Display DSR not ready yet": no display could be seen on this port at all.
        text = QStringLiteral("COM Port cannot report DSR !!");
        break;
    case LinkFailure::None:
    case LinkFailure::BadPortName:
    case LinkFailure::SettingsRefused:
    case LinkFailure::OpenFailed:
        text = QStringLiteral("COM Port Open Error( %1) !!").arg(number);
        break;
    }
    return {Dialogs::Critical, QStringLiteral("Port Error"), text, status.reason};
}
