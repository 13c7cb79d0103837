#include "operations/title_page.h"

#include "core/wire_text.h"
#include "operations/flash_erase.h"
#include "protocol/display_session.h"

namespace {

const QByteArray kTitleBlockHead = QByteArray::fromHex("55AA5AA5200003");

// A line as the display stores it: its first 20 characters, filled up with spaces.
std::optional<QByteArray> titleLine(const QString& text)
{
    std::optional<QByteArray> bytes = encodeWireText(text.left(kTitleLineLength));
    if (bytes)
        *bytes = bytes->leftJustified(kTitleLineLength, ' ');
    return bytes;
}

// Names the character that cannot go to the display; passed when both lines can.
Outcome linesFitTheDisplay(const QString& line1, const QString& line2)
{
    for (const QString& line : {line1, line2}) {
        const QString bad = firstUnencodableCharacter(line.left(kTitleLineLength));
        if (bad.isEmpty())
            continue;
        const char32_t code =
            bad.size() == 2 ? QChar::surrogateToUcs4(bad.at(0), bad.at(1)) : bad.at(0).unicode();
        return Outcome::refused(
            QStringLiteral("Title Page"),
            QStringLiteral("The character \"%1\" (U+%2) cannot be shown on the display.\r\n"
                           "Nothing was sent; please change the line \"%3\".")
                .arg(bad)
                .arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'))
                .arg(line.left(kTitleLineLength)));
    }
    return Outcome::passed();
}

} // namespace

QByteArray titlePageBlock(const QString& line1, const QString& line2)
{
    const std::optional<QByteArray> upper = titleLine(line1);
    const std::optional<QByteArray> lower = titleLine(line2);
    if (!upper || !lower)
        return {};
    return kTitleBlockHead + *upper + *lower;
}

Outcome writeTitlePage(DisplayAccess& access, const QString& line1, const QString& line2)
{
    // Refused before the port is opened: nothing of a title that cannot be shown goes out.
    if (Outcome fits = linesFitTheDisplay(line1, line2); !fits)
        return fits;
    DisplaySession display(access);
    if (Outcome open = display.outcome(); !open)
        return open;
    display.writeFrame({0x0C});
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    display.writeRecord("FC", titlePageBlock(line1, line2));
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return display.confirmFlashWriteAndRestart();
} // the session drains and closes the port, whatever path leaves

Outcome eraseTitlePage(DisplayAccess& access)
{
    return eraseFlashRecord(access, "FC", "*Flsah Erase OK !! *");
}
