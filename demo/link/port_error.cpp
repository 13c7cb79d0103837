#include "link/port_error.h"

#include "link/port_worker.h"

#include "core/link_status.h"

int portErrorNumberOf(const PortOutcome& outcome)
{
    switch (outcome.failure) {
    case PortOutcome::Settings:
        return PortErrorNumber::BadSettings;
    case PortOutcome::Write:
        return PortErrorNumber::WriteFailed;
    case PortOutcome::Open:
        switch (outcome.linkNumber) {
        case LinkError::PortMissing:
            return PortErrorNumber::Missing;
        case LinkError::PortInUse:
        case LinkError::PortInUseByOther:
            return PortErrorNumber::InUse;
        default:
            return PortErrorNumber::Other;
        }
    case PortOutcome::None:
        break;
    }
    return PortErrorNumber::Other;
}

QString portErrorText(const PortOutcome& outcome)
{
    const QString what = outcome.failure == PortOutcome::Write ? QStringLiteral("failed while writing")
                                                               : QStringLiteral("cannot be opened");
    return QStringLiteral("%1 %2 (error %3):\n%4")
        .arg(outcome.portText, what)
        .arg(portErrorNumberOf(outcome))
        .arg(outcome.reason);
}
