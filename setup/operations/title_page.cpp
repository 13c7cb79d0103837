#include "setup/operations/title_page.h"

#include "core/wire_text.h"
#include "setup/operations/flash_erase.h"
#include "setup/protocol/display_session.h"

namespace {

const QByteArray kTitleBlockHead = QByteArray::fromHex("55AA5AA5200003");

// A line as the display stores it: its first 20 characters as at most 20 bytes, filled up with spaces.
WireBytes titleLine(const QString& text, const WireEncoding& encoding)
{
    return encoding.encodeLine(text.left(kTitleLineLength), kTitleLineLength);
}

} // namespace

Outcome checkTitleLines(const QString& line1, const QString& line2, const WireEncoding& encoding)
{
    for (const QString& line : {line1, line2}) {
        const WireBytes bytes = titleLine(line, encoding);
        if (bytes)
            continue;
        return Outcome::refused(
            {Refusal::TitleLineUnshowable, 0, line.left(kTitleLineLength), bytes.refusal});
    }
    return Outcome::passed();
}

QByteArray titlePageBlock(const QString& line1, const QString& line2, const WireEncoding& encoding)
{
    const WireBytes upper = titleLine(line1, encoding);
    const WireBytes lower = titleLine(line2, encoding);
    if (!upper || !lower)
        return {};
    return kTitleBlockHead + upper.bytes + lower.bytes;
}

Outcome writeTitlePage(DisplayAccess& access, const QString& line1, const QString& line2)
{
    // Refused before the port is opened: nothing of a title that cannot be shown goes out.
    const WireEncoding& encoding = access.selection.encoding;
    if (Outcome fits = checkTitleLines(line1, line2, encoding); !fits)
        return fits;
    DisplaySession display(access);
    if (Outcome open = display.outcome(); !open)
        return open;
    display.writeFrame({0x0C});
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    display.writeRecord("FC", titlePageBlock(line1, line2, encoding));
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return display.confirmFlashWriteAndRestart();
} // the session drains and closes the port, whatever path leaves

Outcome eraseTitlePage(DisplayAccess& access)
{
    return eraseFlashRecord(access, "FC", "*Flsah Erase OK !! *");
}
