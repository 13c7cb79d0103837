#pragma once

#include "core/pacer.h"

#include <QTime>
#include <cmath>

// The pacer's clock in whole milliseconds since it began: what the pauses and the simulated displays'
// blinking, moving lines, running clocks and self-test count in.
inline qint64 pacerMs(const Pacer& pacer)
{
    return std::llround(pacer.now() * 1000.0);
}

// The local time of day the pacer stands at, to the millisecond.
inline QTime pacerTimeOfDay(const Pacer& pacer)
{
    constexpr qint64 kDay = 24LL * 3600 * 1000;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::llround(pacer.timeOfDay() * 1000.0) % kDay));
}
