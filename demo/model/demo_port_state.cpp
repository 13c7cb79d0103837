#include "model/demo_port_state.h"

QString DemoPortState::portText() const
{
    return DemoPortName.isEmpty() ? QStringLiteral("COM%1").arg(DemoPortNumber) : DemoPortName;
}
