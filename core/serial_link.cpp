#include "core/serial_link.h"

#include "core/pacer.h"

DsrEvents SerialLink::dsrEvents()
{
    const bool high = dsr();
    if (high != seenHigh_)
        ++seenChanges_;
    seenHigh_ = high;
    return {high, seenChanges_};
}

void SerialLink::waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop)
{
    for (;;) {
        pacer.pump();
        if (dsrEvents().changes != since || pacer.now() >= deadline || stop.stopRequested())
            return;
    }
}
