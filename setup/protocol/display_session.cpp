#include "protocol/display_session.h"

#include "protocol/crc16.h"

DisplaySession::DisplaySession(DisplayAccess& access) : access_(access)
{
    if (Outcome opened = open(); !opened)
        openFailure_ = opened;
}

DisplaySession::~DisplaySession()
{
    // The restart and the NAK lines must leave the port before it closes, on every path.
    close();
}

Outcome DisplaySession::outcome(const Outcome& otherwise) const
{
    if (openFailure_)
        return *openFailure_;
    if (linkFailed())
        return Outcome::writeFailed(fault_);
    if (stopRequested())
        return Outcome::stopped();
    return otherwise;
}

bool DisplaySession::write(const QByteArray& bytes)
{
    if (!open_ || halted() || bytes.isNull())
        return false;
    const LinkStatus status = access_.link.write(bytes);
    if (status.ok())
        return true;
    fault_ = status;
    return false;
}

bool DisplaySession::writeRecord(const char* command, const QByteArray& record)
{
    // Each piece is its own write, as the display has always received them.
    write(buildFrame({0x1F, "FR"}));
    write(buildFrame({0x1F, command}));
    write(crc16(record));
    write(buildFrame({static_cast<int>(record.size())}));
    return write(record);
}

bool DisplaySession::eraseRecord(const char* command)
{
    write(buildFrame({0x1F, "FR"}));
    write(buildFrame({0x1F, command}));
    return write(QByteArray(4, '\0'));
}

Outcome DisplaySession::pause(int milliseconds)
{
    access_.pacer.sleep(milliseconds);
    return outcome();
}
