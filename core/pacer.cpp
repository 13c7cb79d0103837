#include "core/pacer.h"

#include <QThread>
#include <QTime>

#include <cmath>

namespace {
constexpr double kSecondsPerDay = 24 * 3600;
} // namespace

double wrapToDay(double seconds)
{
    const double wrapped = std::fmod(seconds, kSecondsPerDay);
    return wrapped < 0 ? wrapped + kSecondsPerDay : wrapped;
}

RealPacer::RealPacer()
{
    elapsed_.start();
}

double RealPacer::now() const
{
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

double RealPacer::timeOfDay() const
{
    // Read afresh each time: a clock taken once and carried on by the monotonic timer drifts from the
    // wall clock at every correction, daylight-saving change or suspend, and runs past midnight.
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void RealPacer::pump()
{
    // About a millisecond: short enough to keep the 50 ms window of an acknowledgement sharp,
    // long enough that a 16 s wait costs next to no processor time.
    QThread::usleep(1000);
}

void RealPacer::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

double VirtualPacer::timeOfDay() const
{
    return wrapToDay(startTimeOfDay_ + now() + (ms_ >= changeAtMs_ ? change_ : 0.0));
}

void VirtualPacer::changeClock(double seconds, qint64 atMs)
{
    // A change that has come already stays made.
    startTimeOfDay_ += ms_ >= changeAtMs_ ? change_ : 0.0;
    change_ = seconds;
    changeAtMs_ = atMs;
}
