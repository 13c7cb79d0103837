#pragma once

#include "core/link_status.h"
#include "setup/protocol/display_access.h"
#include "setup/protocol/frame.h"
#include "setup/protocol/outcome.h"

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <optional>

// Limits of the presence waits of a display session, in seconds.
constexpr double kDsrAfterOpenLimit = 1.0;
constexpr double kDsrBeforeSetupLimit = 0.6;
// How long a close waits for written bytes to leave the port.
constexpr double kDrainLimit = 2.0;

// One conversation with the display, from the open to the close. Made, it applies the port
// selection, opens the port and waits for DSR; gone out of scope, it lets what was written leave the
// port and closes it, whatever path leaves the operation. Every byte goes out through write(), so
// two rules hold in one place: once the operation is stopped nothing more is sent, and once the link
// has failed (a write, or DSR that cannot be read) nothing more is sent. Its steps give an Outcome: passed,
// or what ended the operation. The only boxes it asks for are the ones the protocol waits on: the "Display
// ack. failed" box before the NAK lines and the "Port Status" box before the restart.
class DisplaySession
{
public:
    explicit DisplaySession(DisplayAccess& access);
    ~DisplaySession();
    DisplaySession(const DisplaySession&) = delete;
    DisplaySession& operator=(const DisplaySession&) = delete;

    // True when the port opened and the display held DSR (until close()).
    bool isOpen() const { return open_; }
    // What ended the session (a failed open, a failed link, a stop request, in that order), or
    // `otherwise` while it can go on.
    Outcome outcome(const Outcome& otherwise = Outcome::passed()) const;

    bool stopRequested() const { return access_.stopRequested(); }
    bool linkFailed() const { return !fault_.ok(); }
    // True when the operation must not go on: stopped or the link failed.
    bool halted() const { return stopRequested() || linkFailed(); }

    // Writes bytes as one write; false when nothing (more) can be sent. A null array is a frame that
    // could not be built: a caller error, never written.
    bool write(const QByteArray& bytes);
    // Writes one frame built from its items.
    bool writeFrame(std::initializer_list<FrameItem> items)
    {
        return write(buildFrame(items, access_.selection.encoding));
    }
    // Writes the pieces of one command in order, each as its own write. A stop request is honoured
    // before the first piece, never between two: the display is never left with half a command.
    bool writeAll(std::initializer_list<QByteArray> pieces);
    // "FR", the record's command, the CRC of the record, its length in one byte, the record: five writes.
    bool writeRecord(const char* command, const QByteArray& record);
    // "FR", the record's command and four zero bytes.
    bool eraseRecord(const char* command);

    // Waits up to 0.6 s for DSR on the open port.
    Outcome waitReady();
    // Asks the display into its setup state (20 bytes 0x02, acknowledged) when `sendRequest` is true,
    // then switches the open port to 115200,N,8,1. With `sendRequest` false the display is expected to
    // be in its setup state already (forced firmware mode) and only the rate is switched.
    Outcome sendSetupRequest(bool sendRequest = true);
    // Waits for the acknowledgement (AckWait). With grace 0 a missing one shows the "Display ack.
    // failed" box, sends the NAK lines and ends the operation; with a positive grace it is ignored and
    // the step passes once that many seconds have passed since the wait began. A stop request ends the
    // wait, except once DSR has dropped: the display's answer is then watched to its end, and counts.
    Outcome awaitAck(double graceSeconds = 0);
    // Sleeps, then tells whether the operation may go on; a stop request cuts the sleep short.
    Outcome pause(int milliseconds);
    // The end of every successful flash write, erase or update: the "Port Status" box (no icon) that
    // says what was done and that the display will restart, then, once the person has closed it, "FR"
    // and "F@". The confirmation lines on the display come before, each operation its own.
    Outcome confirmAndRestart(Outcome::Success success);
    // The display's "** Flash Write OK **" / "**Display Restart **" lines as three writes (the clear
    // byte, then each line), then confirmAndRestart of a flash write.
    Outcome confirmFlashWriteAndRestart();

    // Lets what was written leave the port (up to 2.0 s), then closes it if it is open; true when it
    // is closed afterwards. The destructor does this on every path.
    bool close();

private:
    Outcome open();
    // write() without the stop check: false when the port is closed or has failed.
    bool send(const QByteArray& bytes);
    // The presence wait: sleeps until DSR is seen high or more than `limit` seconds have passed, looking
    // at each change of DSR; a halted operation counts as not seen. A line that cannot be read fails
    // the link.
    bool waitForDsr(double limit);

    DisplayAccess& access_;
    LinkStatus fault_;
    std::optional<Outcome> openFailure_;
    bool open_ = false;
};
