#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// Time as the simulated displays see it: milliseconds since some start, for blinking, scrolling lines,
// the running clocks and the self-test. Tests hand in a ManualSimClock and move it by hand.
class SimClock
{
public:
    virtual ~SimClock() = default;
    virtual qint64 elapsedMs() const = 0;
};

class SystemSimClock : public SimClock
{
public:
    SystemSimClock() { timer_.start(); }
    qint64 elapsedMs() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

class ManualSimClock : public SimClock
{
public:
    qint64 elapsedMs() const override { return now; }
    void advance(qint64 ms) { now += ms; }

    qint64 now = 0;
};
