#include "setup/operations/flash_erase.h"

#include "setup/protocol/display_session.h"

Outcome eraseFlashRecord(DisplayAccess& access, const char* command, const char* displayLine)
{
    DisplaySession display(access);
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    display.eraseRecord(command);
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    display.writeFrame({0x0C, displayLine, "**Display Restart **"});
    return display.confirmAndRestart(Outcome::FlashEraseOk);
} // the session drains and closes the port, whatever path leaves
