#include "setup/operations/firmware_update.h"

#include "setup/operations/firmware_file.h"
#include "setup/protocol/crc16.h"
#include "setup/protocol/display_session.h"
#include "setup/protocol/frame.h"

namespace {

const QByteArray kUpdateSignature = QByteArray::fromHex("55AA5AA5");
const QString kWaitLine = QStringLiteral("Don't Turn Off Power");

bool sendDisplayText(DisplaySession& display, const QString& line1, const QString& line2)
{
    return display.writeAll({buildFrame({0x1F, "FD", 0x28}), buildFrame({line1}), buildFrame({line2})});
}

// The update request, the pause that gives the display time to get ready, the header with the page
// count, and its acknowledgement.
Outcome sendUpdateHeader(DisplaySession& display, int pages)
{
    if (!display.writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, "FF"})}))
        return display.outcome(Outcome::stopped());
    if (Outcome ready = display.pause(kFirmwarePauseMs); !ready)
        return ready;
    const QByteArray header = kUpdateSignature + QByteArray(1, static_cast<char>(pages));
    if (!display.writeAll(
            {buildFrame({0x1F, "FR"}), buildFrame({0x1F, "FZ"}), crc16(header), buildFrame({0x05}), header}))
        return display.outcome(Outcome::stopped());
    return display.awaitAck();
}

// Each page after its progress line on the display, each followed by a pause. A page or text that is
// not acknowledged does not stop the transfer (the wait gives up after its grace); a failed port or a
// stop request does, at once.
Outcome sendPages(DisplaySession& display, const QByteArray& image, qint64 length,
                  const std::function<void(int page, qint64 sent)>& pageSent)
{
    qint64 sent = 0;
    for (int page = 0; sent < length; ++page) {
        if (!sendDisplayText(display, progressingLine(firmwarePercentage(sent, length)), kWaitLine))
            return display.outcome(Outcome::stopped());
        if (Outcome ack = display.awaitAck(1.0); !ack)
            return ack;
        const qint64 pageLength = std::min<qint64>(kFirmwarePageSize, length - sent);
        const QByteArray bytes = image.mid(sent, pageLength);
        if (!display.writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, "FM"}), crc16(bytes),
                               buildFrame({FrameItem::word(pageLength)}), bytes}))
            return display.outcome(Outcome::stopped());
        if (Outcome ack = display.awaitAck(1.0); !ack)
            return ack;
        sent += pageLength;
        pageSent(page + 1, sent);
        if (Outcome paused = display.pause(kFirmwarePauseMs); !paused)
            return paused;
    }
    return Outcome::passed();
}

} // namespace

int firmwarePageCount(const QByteArray& firmwareImage)
{
    return static_cast<int>((firmwareImage.size() + 510) / kFirmwarePageSize);
}

QString firmwarePercentage(qint64 sent, qint64 length)
{
    if (length <= 0)
        return QStringLiteral("0%");
    // Whole numbers only, so no rounding of the tenths and no locale in the text.
    const qint64 tenths = 1000 * sent / length;
    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += QLatin1Char('.') + QString::number(tenths % 10);
    return text + QLatin1Char('%');
}

QString progressingLine(const QString& percentage)
{
    return QStringLiteral("Progressing") + percentage.rightJustified(9, QLatin1Char(' '));
}

Outcome updateFirmware(DisplayAccess& access, const QByteArray& firmwareImage, bool forced,
                       const FirmwareProgress& progress)
{
    // The held image ends in the appended 0x00; without an image before it there is nothing to
    // flash (and a header of 0 pages), with more than 48 KB the page count leaves the display's range.
    const qint64 length = firmwareImage.size() - 1;
    if (length <= 0 || length > kFirmwareFileLimit - 2)
        return Outcome::refused({Refusal::NoFirmwareImage});
    const int pages = firmwarePageCount(firmwareImage);
    const auto report = [&](int page, qint64 sent) {
        if (progress)
            progress(page, pages, firmwarePercentage(sent, length));
    };
    // The person sets DIP-12 before the port opens: the box waits for that.
    access.dialogs.tell(Notice::updateMode(forced));
    DisplaySession display(access);
    if (Outcome setup = display.sendSetupRequest(!forced); !setup)
        return setup;
    if (Outcome header = sendUpdateHeader(display, pages); !header)
        return header;
    report(0, 0);
    if (Outcome sent = sendPages(display, firmwareImage, length, report); !sent)
        return sent;
    if (!sendDisplayText(display, QStringLiteral("**Update Successful*"),
                         QStringLiteral("**Display Restart **")))
        return display.outcome(Outcome::stopped());
    // The box comes before the restart: the person sets DIP-12 while the display waits for it.
    return display.confirmAndRestart(Outcome::FirmwareUpdated);
} // the session lets the final text and the restart leave the port, then closes it
