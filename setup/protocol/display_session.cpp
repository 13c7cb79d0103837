#include "protocol/display_session.h"

#include "protocol/crc16.h"
#include "protocol/device_context.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/flash_done.h"
#include "protocol/setup_request.h"

DisplaySession::DisplaySession(DeviceContext& device) : device_(device), open_(OpenDisplayPort(device)) {}

DisplaySession::~DisplaySession()
{
    // The restart and the NAK lines must leave the port before it closes, on every path.
    CloseDisplayPort(device_);
}

bool DisplaySession::write(const QByteArray& bytes)
{
    return open_ && device_.send(bytes);
}

bool DisplaySession::writeRecord(const char* command, const QByteArray& record)
{
    // Each piece is its own write, as the display has always received them.
    write(BuildFrame({0x1F, "FR"}));
    write(BuildFrame({0x1F, command}));
    write(Crc16(record));
    write(BuildFrame({static_cast<int>(record.size())}));
    return write(record);
}

bool DisplaySession::eraseRecord(const char* command)
{
    write(BuildFrame({0x1F, "FR"}));
    write(BuildFrame({0x1F, command}));
    return write(QByteArray(4, '\0'));
}

bool DisplaySession::sendSetupRequest(bool sendRequest)
{
    return open_ && SendSetupRequest(device_, sendRequest);
}

bool DisplaySession::awaitAck(double graceSeconds)
{
    return open_ && WaitDisplayAck(device_, graceSeconds);
}

bool DisplaySession::confirmAndRestart(const QString& firstLine)
{
    return open_ && ReportFlashDoneAndRestart(device_, firstLine);
}
