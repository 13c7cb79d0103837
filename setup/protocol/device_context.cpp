#include "protocol/device_context.h"

#include "protocol/port_messages.h"

bool DeviceContext::send(const QByteArray& bytes)
{
    // A null array is a frame that could not be built: a caller error, never written.
    if (halted() || bytes.isNull())
        return false;
    LinkStatus status = link.write(bytes);
    if (status.ok())
        return true;
    fault_ = status;
    ShowPortWriteError(*this, status);
    return false;
}
