#include "demo/link/port_messages.h"

#include "demo/link/job_result.h"

#include "core/port_name.h"

namespace {

// The numbers the person sees; the links report their own (core/link_status.h).
constexpr int kMissingNumber = 8002;     // the port does not exist
constexpr int kInUseNumber = 8005;       // another program holds the port
constexpr int kBadSettingsNumber = 8015; // the line settings cannot be applied
constexpr int kWriteFailedNumber = 8030; // the bytes did not leave the computer
constexpr int kOtherNumber = 8000;

int shownNumber(const JobResult& result)
{
    switch (result.failedStep) {
    case JobResult::Step::Settings:
        return kBadSettingsNumber;
    case JobResult::Step::Write:
        return kWriteFailedNumber;
    case JobResult::Step::Open:
        switch (result.status.number) {
        case LinkError::PortMissing:
            return kMissingNumber;
        case LinkError::PortInUse:
        case LinkError::PortInUseByOther:
            return kInUseNumber;
        default:
            return kOtherNumber;
        }
    case JobResult::Step::None:
        break;
    }
    return kOtherNumber;
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
                .arg(shownNumber(result))
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
