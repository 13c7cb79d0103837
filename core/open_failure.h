#pragma once

#include "core/link_status.h"

#include <QSerialPort>
#include <QString>

// What the system shows of the device node that a port name opens.
enum class PortNode {
    Present,      // there, and this user may read and write it
    Missing,      // not there
    NotPermitted, // there, but this user may not open it (Linux: not in the group that owns it)
};

// The node of a system port name: a path as it stands, a bare name under /dev. Windows names are
// not files: there they are always Present.
PortNode portNodeOf(const QString& systemName);

// What failed, for an open that Qt refused with `error` and `reason`. A missing node is the missing
// port whatever words Qt found for it (a name too long for its lock file comes back as a permission
// error). A node this user may not open is refused access, and the detail says how to get the right.
LinkStatus openFailureStatus(QSerialPort::SerialPortError error, const QString& reason, PortNode node);
