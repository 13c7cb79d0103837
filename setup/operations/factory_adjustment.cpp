#include "setup/operations/factory_adjustment.h"

#include "setup/protocol/display_session.h"
#include "setup/protocol/frame.h"

QByteArray balanceTestPattern()
{
    return QByteArray(40, '0');
}

QByteArray balanceRecord(int position)
{
    return buildFrame({0x1F, "Fb", 0x0D, position});
}

Outcome sendBalance(DisplayAccess& access, int position)
{
    const QByteArray record = balanceRecord(position);
    if (record.isNull())
        return Outcome::refused({Refusal::BalanceOutOfRange});
    DisplaySession display(access);
    if (Outcome open = display.outcome(); !open)
        return open;
    display.write(balanceTestPattern());
    display.write(record);
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return Outcome::done(Outcome::BalanceAcknowledged);
}

Outcome storeBalance(DisplayAccess& access)
{
    DisplaySession display(access);
    if (Outcome open = display.outcome(); !open)
        return open;
    display.writeFrame({0x1F, "FR"});
    display.writeFrame({0x1F, "FW"});
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    display.writeFrame({0x0C, "** Flash Write OK **", "**Display Restart **"});
    return display.confirmAndRestart(Outcome::FlashWriteOk);
}
