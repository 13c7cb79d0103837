#include "core/output_drain.h"

#include "core/pacer.h"
#include "core/serial_link.h"

DrainResult waitForOutputToLeave(SerialLink& link, Pacer& pacer, double limitSeconds, const StopToken& stop)
{
    const double start = pacer.now();
    for (;;) {
        if (stop.stopRequested())
            return DrainResult::Halted;
        if (!link.isOpen() || link.bytesToWrite() <= 0)
            return DrainResult::Sent;
        if (pacer.now() - start > limitSeconds)
            return DrainResult::TimedOut;
        pacer.pump();
    }
}
