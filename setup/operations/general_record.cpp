#include "operations/general_record.h"

#include "operations/parameter_vocabulary.h"
#include "protocol/crc16.h"
#include "protocol/device_context.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/flash_done.h"
#include "protocol/frame.h"
#include "protocol/setup_request.h"

QByteArray GeneralParameterRecord(const GeneralParameters& p)
{
    QByteArray record(64, '\xFF');
    const QByteArray head = QByteArray::fromHex("55AA5AA52045");
    record.replace(0, head.size(), head);
    const int codes[] = {
        ChkCustimerID(QString()),
        ChkCommandSelect(p.commandSet),
        ChkInternationalCharSelect(p.internationalCharset),
        ChkCodePageSelect(p.codePage),
        ChkBaudRateSelect(p.baudRate),
        ChkComFormatSelect(p.dataFormat),
        ChkBrightnessSelect(p.brightness),
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

bool WriteGeneralParameters(DeviceContext& device, const GeneralParameters& parameters)
{
    bool ok = OpenDisplayPort(device) && SendSetupRequest(device, true);
    if (ok) {
        const QByteArray record = GeneralParameterRecord(parameters);
        device.send(BuildFrame({0x1F, "FR"}));
        device.send(BuildFrame({0x1F, "FN"}));
        device.send(Crc16(record));
        device.send(BuildFrame({0x40}));
        device.send(record);
        ok = WaitDisplayAck(device, 0);
    }
    if (ok)
        ok = ConfirmFlashWriteAndRestart(device);
    CloseDisplayPort(device);
    return ok;
}

bool EraseGeneralParameters(DeviceContext& device)
{
    return EraseFlashRecord(device, "FN", "** Flash Erase OK **");
}
