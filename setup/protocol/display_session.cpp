#include "protocol/display_session.h"

#include "protocol/crc16.h"

#include <algorithm>

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
    return !stopRequested() && send(bytes);
}

bool DisplaySession::writeAll(std::initializer_list<QByteArray> pieces)
{
    if (stopRequested())
        return false;
    for (const QByteArray& piece : pieces)
        if (!send(piece))
            return false;
    return true;
}

bool DisplaySession::send(const QByteArray& bytes)
{
    if (!open_ || linkFailed() || bytes.isNull())
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
    return writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, command}), crc16(record),
                     buildFrame({static_cast<int>(record.size())}), record});
}

bool DisplaySession::eraseRecord(const char* command)
{
    return writeAll({buildFrame({0x1F, "FR"}), buildFrame({0x1F, command}), QByteArray(4, '\0')});
}

Outcome DisplaySession::pause(int milliseconds)
{
    // In short slices, so that a stop request ends the pause at once instead of after it.
    constexpr int kSliceMs = 10;
    for (int left = milliseconds; left > 0 && !stopRequested(); left -= kSliceMs)
        access_.pacer.sleep(std::min(left, kSliceMs));
    return outcome();
}
