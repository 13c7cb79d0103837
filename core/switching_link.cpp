#include "core/switching_link.h"

#include "core/port_name.h"

SwitchingLink::SwitchingLink(SerialLink* simulated, std::unique_ptr<SerialLink> real)
    : simulated_(simulated), real_(std::move(real)), active_(real_.get())
{
}

void SwitchingLink::setPortName(const QString& name)
{
    if (!active_->isOpen())
        active_ = simulated_ && isSimulatedPort(name) ? simulated_ : real_.get();
    active_->setPortName(name);
}
