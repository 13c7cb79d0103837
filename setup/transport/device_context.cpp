#include "device_context.h"

#include "port_messages.h"

bool DeviceContext::send(const QByteArray& bytes)
{
    if (halted())
        return false;
    LinkStatus status = link.write(bytes);
    if (status.ok())
        return true;
    fault_ = status;
    ShowPortWriteError(*this, status);
    return false;
}
