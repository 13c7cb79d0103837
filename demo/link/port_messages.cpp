#include "demo/link/port_messages.h"

#include "demo/link/job_result.h"

#include "core/port_name.h"

namespace {

// The number the person sees for what failed.
int shownNumber(LinkFailure what)
{
    switch (what) {
    case LinkFailure::PortMissing:
        return 8002;
    case LinkFailure::PortBusy:
    case LinkFailure::PortOpenHere:
    case LinkFailure::AccessDenied:
        return 8005;
    case LinkFailure::SettingsRefused:
        return 8015;
    case LinkFailure::WriteFailed: // the bytes did not leave the computer
        return 8030;
    case LinkFailure::None:
    case LinkFailure::BadPortName:
    case LinkFailure::OpenFailed:
    case LinkFailure::DsrUnreadable: // vfddemo reads no DSR
        break;
    }
    return 8000;
}

const QString kPortErrorTitle = QStringLiteral("Port Error");

} // namespace

PortMessage portFailedMessage(const JobResult& result)
{
    const QString what = result.failedStep == JobResult::Step::Write ? QStringLiteral("failed while writing")
                                                                     : QStringLiteral("cannot be opened");
    return {Dialogs::Critical, kPortErrorTitle,
            QStringLiteral("%1 %2 (error %3):\n%4")
                .arg(result.portText, what)
                .arg(shownNumber(result.status.what))
                .arg(result.status.reason)};
}

PortMessage noPortChosenMessage()
{
    return {Dialogs::Critical, kPortErrorTitle,
            QStringLiteral("No COM port has been chosen.\nPlease choose a port.")};
}

QString refusedSettingsReason(const QString& portText, const QString& settingsText)
{
    return isSimulatedPort(portText)
               ? QStringLiteral("The line settings cannot be applied.")
               : QStringLiteral("The line settings \"%1\" are not valid.").arg(settingsText);
}

PortMessage textRefusedMessage(const QString& refusal)
{
    return {Dialogs::Exclamation, QStringLiteral("Text Error"),
            QStringLiteral("%1\nNothing more is sent.").arg(refusal)};
}
