#include "demo_port_state.h"

#include "port_path.h"

QString DemoPortState::portText() const
{
    return DemoPortName.isEmpty() ? ComPortText(DemoPortNumber) : DemoPortName;
}
