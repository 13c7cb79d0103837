#include "core/serial_link.h"

#include "core/pacer.h"

DsrEvents SerialLink::dsrEvents()
{
    const DsrLevel level = dsr();
    if (level == DsrLevel::Unreadable)
        return {level, seenChanges_};
    const bool high = level == DsrLevel::High;
    if (high != seenHigh_)
        ++seenChanges_;
    seenHigh_ = high;
    return {level, seenChanges_};
}

void SerialLink::waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop)
{
    for (;;) {
        pacer.pump();
        // A line that cannot be read ends the wait at once: the caller's look tells it so.
        const DsrEvents events = dsrEvents();
        if (!events.readable() || events.changes != since || pacer.now() >= deadline || stop.stopRequested())
            return;
    }
}
