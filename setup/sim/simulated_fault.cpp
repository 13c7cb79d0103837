#include "setup/sim/simulated_fault.h"

std::optional<SimulatedDisplay::Faults> simulatedFaultNamed(const QString& text)
{
    SimulatedDisplay::Faults faults;
    if (text == QLatin1String("absent")) {
        faults.absent = true;
    } else if (text == QLatin1String("no-ack")) {
        faults.acknowledgeFirst = 0;
    } else if (text == QLatin1String("dsr-late")) {
        faults.dsrDelay = kLateDsrSeconds;
    } else if (text.startsWith(QLatin1String("no-ack-after:"))) {
        bool number = false;
        faults.acknowledgeFirst = text.section(QLatin1Char(':'), 1).toInt(&number);
        if (!number || faults.acknowledgeFirst < 0)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return faults;
}
