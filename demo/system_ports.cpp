#include "demo_context.h"

#include <QSerialPortInfo>

QList<SystemPortEntry> ListSystemPorts()
{
    QList<SystemPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.append({info.systemLocation(), info.description()});
    }
    return ports;
}
