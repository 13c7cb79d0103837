#include "operations/factory_adjustment.h"

#include "protocol/display_session.h"
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
    DisplaySession display(device);
    if (!display.isOpen())
        return false;
    display.write(BalanceTestPattern());
    display.write(record);
    return display.awaitAck();
}

bool StoreBalance(DeviceContext& device)
{
    DisplaySession display(device);
    if (!display.isOpen())
        return false;
    display.writeFrame({0x1F, "FR"});
    display.writeFrame({0x1F, "FW"});
    if (!display.awaitAck())
        return false;
    display.writeFrame({0x0C, "** Flash Write OK **", "**Display Restart **"});
    return display.confirmAndRestart(QStringLiteral("Flash Write OK !!"));
}
