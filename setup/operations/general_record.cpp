#include "setup/operations/general_record.h"

#include "setup/operations/flash_erase.h"
#include "setup/operations/parameter_vocabulary.h"
#include "setup/protocol/display_session.h"

QByteArray generalParameterRecord(const GeneralParameters& p)
{
    QByteArray record(64, '\xFF');
    const QByteArray head = QByteArray::fromHex("55AA5AA52045");
    record.replace(0, head.size(), head);
    const int codes[] = {
        customerIdCode(QString()),
        p.commandSet,
        p.internationalCharset,
        p.codePage,
        p.baudRate,
        p.dataFormat,
        p.brightness,
        0xFF,
        commandTableGroup(QString()),
        fontTableGroup(QString()),
        baudRateTableGroup(QString()),
        dataFormatTableGroup(QString()),
    };
    for (int i = 0; i < 12; ++i)
        record[6 + i] = static_cast<char>(codes[i]);
    record.replace(32, 6, "Talvex");
    record.replace(48, 7, "VQ-71xx");
    return record;
}

Outcome writeGeneralParameters(DisplayAccess& access, const GeneralParameters& parameters)
{
    DisplaySession display(access);
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    display.writeRecord("FN", generalParameterRecord(parameters));
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return display.confirmFlashWriteAndRestart();
} // the session drains and closes the port, whatever path leaves

Outcome eraseGeneralParameters(DisplayAccess& access)
{
    return eraseFlashRecord(access, "FN", "** Flash Erase OK **");
}
