#pragma once

#include <QTime>

// Time for the demonstrations: the fixed pauses and the local time of day. Tests hand in a clock that
// takes no real time.
class DemoClock
{
public:
    virtual ~DemoClock() = default;
    // Holds the caller back for ms milliseconds; the windows keep repainting meanwhile.
    virtual void pause(int ms) = 0;
    virtual QTime currentTime() const = 0;
};

// The computer's clock. A pause runs the event loop until its timer ends, so the window repaints;
// the caller disables its controls first so that no input slips in.
class SystemClock : public DemoClock
{
public:
    void pause(int ms) override;
    QTime currentTime() const override { return QTime::currentTime(); }
};
