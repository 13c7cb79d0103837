#include "operations/factory_adjustment.h"

#include "protocol/device_context.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/flash_done.h"
#include "protocol/frame.h"

QByteArray BalanceTestPattern()
{
    return QByteArray(40, '0');
}

QByteArray BalanceRecord(int position)
{
    return BuildFrame({0x1F, "Fb", 0x0D, position});
}

bool SendBalance(DeviceContext& device, int position)
{
    const QByteArray record = BalanceRecord(position);
    if (record.isNull())
        return false;
    bool ok = OpenDisplayPort(device);
    if (ok) {
        device.send(BalanceTestPattern());
        device.send(record);
        ok = WaitDisplayAck(device, 0);
    }
    CloseDisplayPort(device);
    return ok;
}

bool StoreBalance(DeviceContext& device)
{
    bool ok = OpenDisplayPort(device);
    if (ok) {
        device.send(BuildFrame({0x1F, "FR"}));
        device.send(BuildFrame({0x1F, "FW"}));
        ok = WaitDisplayAck(device, 0);
    }
    if (ok) {
        device.send(BuildFrame({0x0C, "** Flash Write OK **", "**Display Restart **"}));
        ok = ReportFlashDoneAndRestart(device, QStringLiteral("Flash Write OK !!"));
    }
    CloseDisplayPort(device);
    return ok;
}
