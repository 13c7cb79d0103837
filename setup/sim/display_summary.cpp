#include "setup/sim/display_summary.h"

#include "setup/operations/parameter_vocabulary.h"
#include "setup/protocol/crc16.h"
#include "setup/sim/display_code_page.h"
#include "setup/sim/simulated_display.h"

namespace {

QString generalSummary(const QByteArray& record)
{
    if (!isGeneralRecord(record))
        return QStringLiteral("erased (9600,N,8,1)");
    const auto at = [&](int offset) { return static_cast<quint8>(record.at(offset)); };
    return QStringLiteral("baud %1, format %2, command set %3, code page %4, charset %5, brightness %6")
        .arg(baudRateName(at(10)), comFormatName(at(11)), commandName(at(7)), codePageName(at(9)),
             internationalCharName(at(8)), brightnessName(at(12)));
}

// How the display draws bytes: in the code page of its stored general record (byte 9).
DisplayCodePage storedCodePage(const DisplayFlash& flash)
{
    const QByteArray& record = flash.generalRecord;
    if (!isGeneralRecord(record))
        return DisplayCodePage(DisplayCodePage::NotSet);
    return DisplayCodePage(static_cast<quint8>(record.at(9)));
}

} // namespace

QString simulatedScreenBox(const SimulatedDisplay& display)
{
    const DisplayCodePage codePage = storedCodePage(display.flash());
    QString text = QStringLiteral("+--------------------+\n");
    for (const QString& line : display.screen())
        text += QLatin1Char('|') + codePage.text(line.toLatin1()) + QStringLiteral("|\n");
    return text + QStringLiteral("+--------------------+\n");
}

QString simulatedDisplaySummary(const SimulatedDisplay& display)
{
    const DisplayFlash flash = display.flash();
    QString text = simulatedScreenBox(display);
    text += QStringLiteral("general parameters: %1\n").arg(generalSummary(flash.generalRecord));
    // The title lines as the screen shows them, in the stored code page.
    const DisplayCodePage codePage = storedCodePage(flash);
    const QStringList title = powerOnLines(flash);
    text += isTitleBlock(flash.titleBlock)
                ? QStringLiteral("title page: \"%1\" / \"%2\"\n")
                      .arg(codePage.text(title.at(0).toLatin1()), codePage.text(title.at(1).toLatin1()))
                : QStringLiteral("title page: erased\n");
    text += flash.demo.isEmpty() ? QStringLiteral("demo: erased\n")
                                 : QStringLiteral("demo: %1 bytes, %2 pages announced, CRC %3\n")
                                       .arg(flash.demo.size())
                                       .arg(flash.demoPages)
                                       .arg(crc16Value(flash.demo), 4, 16, QLatin1Char('0'));
    text += flash.firmware.isEmpty() ? QStringLiteral("firmware: factory image\n")
                                     : QStringLiteral("firmware: %1 bytes, CRC %2\n")
                                           .arg(flash.firmware.size())
                                           .arg(crc16Value(flash.firmware), 4, 16, QLatin1Char('0'));
    text += QStringLiteral("balance: %1 (stored %2)\n").arg(display.liveBalance()).arg(flash.balance);
    return text;
}
