#include "operations/general_record.h"

#include "operations/flash_erase.h"
#include "operations/parameter_vocabulary.h"
#include "protocol/display_session.h"

QByteArray GeneralParameterRecord(const GeneralParameters& p)
{
    QByteArray record(64, '\xFF');
    const QByteArray head = QByteArray::fromHex("55AA5AA52045");
    record.replace(0, head.size(), head);
    const int codes[] = {
        ChkCustimerID(QString()),
        p.commandSet,
        p.internationalCharset,
        p.codePage,
        p.baudRate,
        p.dataFormat,
        p.brightness,
        0xFF,
        ChkCommandTableGroup(QString()),
        ChkFontTableGroup(QString()),
        ChkBaudRateTableGroup(QString()),
        ChkDataFormatTableGroup(QString()),
    };
    for (int i = 0; i < 12; ++i)
        record[6 + i] = static_cast<char>(codes[i]);
    record.replace(32, 6, "Talvex");
    record.replace(48, 7, "VQ-71xx");
    return record;
}

Outcome WriteGeneralParameters(DisplayAccess& access, const GeneralParameters& parameters)
{
    DisplaySession display(access);
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    display.writeRecord("FN", GeneralParameterRecord(parameters));
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return display.confirmFlashWriteAndRestart();
} // the session drains and closes the port, whatever path leaves

Outcome EraseGeneralParameters(DisplayAccess& access)
{
    return EraseFlashRecord(access, "FN", "** Flash Erase OK **");
}
