#include "setup/messages/message_catalogue.h"

#include "setup/messages/link_failure_message.h"
#include "setup/operations/demo_transfer.h"
#include "setup/operations/title_file.h"

namespace {

const QString kFileStatus = QStringLiteral("File Ststus");
const QString kFileError = QStringLiteral("File Error");
const QString kPortStatus = QStringLiteral("Port Status");
const QString kProfile = QStringLiteral("Profile");
const QString kCancelled = QStringLiteral("Cancelled");
const QString kOpenFileError = QStringLiteral("Open File Error !!");
// Before the restart, after what was done.
const QString kDisplayWillRestart = QStringLiteral("\r\nDisplay will restart !!");

// Every refusal is a critical box.
Message refused(const QString& title, const QString& text)
{
    return {Dialogs::Critical, title, text, {}};
}

} // namespace

std::optional<Message> refusalMessage(const Refusal& refusal)
{
    switch (refusal.kind) {
    case Refusal::NoFileChosen:
        return refused(kFileStatus, QStringLiteral("No File Select, Please Try Again !!"));
    case Refusal::FirmwareWithoutExtension:
        return refused(kFileStatus, QStringLiteral("File Extension Name Error, Please Try Again !!"));
    case Refusal::FirmwareWithoutModel:
        return refused(kFileStatus, QStringLiteral("File Type Error, Please Try Again !!"));
    case Refusal::FirmwareTooLarge:
        return refused(kFileStatus, QStringLiteral("File Size over 48K, Please Try Again !!"));
    case Refusal::FirmwareUnreadable:
        return Message{Dialogs::Critical, kFileStatus, kOpenFileError, refusal.reason};
    case Refusal::FirmwareCrcMismatch:
        return refused(kFileStatus, QStringLiteral("File CRC16 Check-Sum Error !!"));
    case Refusal::NoFirmwareImage:
        return refused(kFileStatus, QStringLiteral("File Error, Please Try Again !!"));
    case Refusal::DemoTooShort:
        return refused(kFileStatus, QStringLiteral("InValid File!"));
    case Refusal::DemoWithoutSignature:
        return refused(kFileStatus, QStringLiteral("Illegal DEMO File!"));
    case Refusal::DemoTooLarge:
        return refused(kFileStatus,
                       QStringLiteral("DEMO File too large!\r\n%1 bytes; the display takes at most "
                                      "%2 bytes (%3 pages of %4). Nothing was written.")
                           .arg(refusal.size)
                           .arg(kDemoMaxLength)
                           .arg(kDemoMaxPages)
                           .arg(kDemoBlockSize));
    case Refusal::FileUnreadable:
        return Message{Dialogs::Critical, kFileError, kOpenFileError, refusal.reason};
    case Refusal::TitleFileTooLarge:
        return refused(kFileError, QStringLiteral("Title file too large!\r\n%1 bytes; a title file holds at "
                                                  "most %2 bytes. Nothing was read.")
                                       .arg(refusal.size)
                                       .arg(kTitleFileLimit));
    case Refusal::TitleFileNotText:
        return refused(kFileError,
                       QStringLiteral("\"%1\" is neither UTF-8 text nor text in the text encoding "
                                      "%2.\r\nNothing was read.")
                           .arg(refusal.subject, refusal.reason));
    case Refusal::TitleLineUnshowable:
        return refused(QStringLiteral("Title Page"),
                       QStringLiteral("%1\r\nNothing was sent; please change the line \"%2\".")
                           .arg(refusal.reason, refusal.subject));
    case Refusal::FileGone:
    case Refusal::BalanceOutOfRange:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Message> outcomeMessage(const Outcome& outcome)
{
    switch (outcome.kind()) {
    case Outcome::Refused:
        return refusalMessage(outcome.refusal());
    case Outcome::PortFailed:
    case Outcome::WriteFailed:
        return linkFailureMessage(outcome.link());
    case Outcome::NotReady:
        return Message{Dialogs::Exclamation, kPortStatus, QStringLiteral("Display DSR not ready yet !!"), {}};
    case Outcome::Done:  // the success boxes come before the restart, where the protocol waits for them
    case Outcome::NoAck: // shown before the NAK lines
    case Outcome::AckTooLate:
    case Outcome::Stopped: // the person has left: nothing to tell
        return std::nullopt;
    }
    return std::nullopt;
}

Message noticeMessage(const Notice& notice)
{
    switch (notice.kind) {
    case Notice::OnlineUpdate:
        return {Dialogs::NoIcon,
                QStringLiteral("Online F/W Upload."),
                QStringLiteral("Firmware Update.\r\nMake sure DIP-12 in OFF status."),
                {}};
    case Notice::ForcedUpdate:
        return {Dialogs::NoIcon,
                QStringLiteral("Force Overwrite F/W."),
                QStringLiteral("Firmware Update.\r\nMake sure DIP-12 in ON status."),
                {}};
    case Notice::AckFailed: {
        const AckFailure& failure = notice.ackFailure;
        return {Dialogs::Exclamation,
                QStringLiteral("Display ack. failed"),
                QStringLiteral("Process.%1( %2/%3/%4)")
                    .arg(failure.step)
                    .arg(shortDecimal(failure.waitStart, 2), shortDecimal(failure.deadline, 2),
                         failure.dsr ? QStringLiteral("True") : QStringLiteral("False")),
                {}};
    }
    case Notice::AckTooLate: {
        const AckFailure& failure = notice.ackFailure;
        return {Dialogs::Exclamation,
                QStringLiteral("Display ack. unknown"),
                QStringLiteral("Process.%1: DSR went unwatched for %2 ms, too long to tell the display's "
                               "answer from a glitch.\r\nThis computer was too busy; please try again.")
                    .arg(failure.step)
                    .arg(failure.unwatchedMs),
                {}};
    }
    case Notice::Restarting:
        break;
    }
    switch (notice.done) {
    case Outcome::FirmwareUpdated:
        return {Dialogs::NoIcon,
                kPortStatus,
                QStringLiteral("Firmware Update Sucessfully.\r\nPlease make sure DIP-12 in OFF status.\r\n"
                               "The display will restart !!"),
                {}};
    case Outcome::FlashEraseOk:
        return {Dialogs::NoIcon, kPortStatus, QStringLiteral("Flash Erase OK !!") + kDisplayWillRestart, {}};
    default: // a record written
        return {Dialogs::NoIcon, kPortStatus, QStringLiteral("Flash Write OK !!") + kDisplayWillRestart, {}};
    }
}

Message firmwareCancelledMessage(int pagesSent, int pageCount)
{
    // The update request alone already takes the display out of service until an update completes.
    if (pageCount == 0)
        return {Dialogs::Exclamation,
                kCancelled,
                QStringLiteral("Firmware update cancelled before the first page.\r\n"
                               "If the update request reached the display, it waits in its update "
                               "state: run the update again, with \"Force overwrite\" checked if the "
                               "display no longer answers."),
                {}};
    return {Dialogs::Exclamation,
            kCancelled,
            QStringLiteral("Firmware update cancelled after page %1 of %2.\r\n"
                           "The display stays in its update state and was not restarted: run the update "
                           "again, with \"Force overwrite\" checked if the display no longer answers.")
                .arg(pagesSent)
                .arg(pageCount),
            {}};
}

Message demoCancelledMessage(qint64 bytesSent, qint64 fileLength)
{
    // The header alone clears the DEMO the display held.
    return {Dialogs::Exclamation,
            kCancelled,
            QStringLiteral("DEMO write cancelled after %1 of %2 bytes.\r\n"
                           "The display may hold no complete DEMO now and was not restarted: "
                           "write the DEMO again, or erase it.")
                .arg(bytesSent)
                .arg(fileLength),
            {}};
}

Message flashNoticeMessage()
{
    return {Dialogs::Exclamation,
            QStringLiteral("Notice!!"),
            QStringLiteral("Flash re-programming is highly host resource dependent,\r\n"
                           "any multi-task activity including Audio/Video playback\r\n"
                           "or Ethernet-transmission may increase the risk of failure."),
            {}};
}

Message profileRefusedMessage(const QString& why)
{
    return {Dialogs::Critical, kProfile, why, {}};
}

Message profileNotWrittenMessage(const QString& path)
{
    return {Dialogs::Critical, kProfile, QStringLiteral("Cannot write the profile %1").arg(path), {}};
}

Message trafficNotWrittenMessage(const QString& path)
{
    return {Dialogs::Critical, kFileError, QStringLiteral("Cannot write %1").arg(path), {}};
}

QString shortDecimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}
