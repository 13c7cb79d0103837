// The confirm-and-restart ending of a display session.
#include "protocol/display_session.h"

Outcome DisplaySession::confirmAndRestart(const QString& firstLine, Outcome::Success success)
{
    // A confirmation line that could not be sent has been lost with the port, and the restart
    // cannot be sent either: "Display will restart !!" would not be true.
    if (!open_ || halted())
        return outcome(Outcome::stopped());
    access_.dialogs.message(Dialogs::NoIcon, QStringLiteral("Port Status"),
                            firstLine + QStringLiteral("\r\nDisplay will restart !!"));
    // The record is stored, but a display that was not told to restart still shows its setup state:
    // a caller (a script running vfdctl) must not take that for a success.
    if (!writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, "F@"})}))
        return outcome(Outcome::stopped());
    return Outcome::done(success);
}

Outcome DisplaySession::confirmFlashWriteAndRestart()
{
    write(buildFrame({0x0C}));
    write(buildFrame({"** Flash Write OK **"}));
    write(buildFrame({"**Display Restart **"}));
    return confirmAndRestart(QStringLiteral("Flash Write OK !!"), Outcome::FlashWriteOk);
}
