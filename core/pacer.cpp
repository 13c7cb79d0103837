#include "core/pacer.h"

#include <QThread>

RealPacer::RealPacer() : startTimeOfDay_(QTime::currentTime().msecsSinceStartOfDay() / 1000.0)
{
    elapsed_.start();
}

double RealPacer::now() const
{
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

double RealPacer::timeOfDay() const
{
    return startTimeOfDay_ + now();
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
