#pragma once

#include <functional>

class Pacer;
class SerialLink;

// The display acknowledges a frame with a low pulse on DSR. The wait has five steps, each with its limit
// in seconds, counted from the moment the step before it was passed: everything written has left the
// port, DSR is high, DSR has dropped, DSR stays low for the whole step, DSR is high again.
inline constexpr double kAckStepLimits[5] = {6.0, 6.0, 3.0, 0.05, 1.0};

// Where an acknowledgement wait failed: the step, the time of day (seconds since midnight) at which the
// wait began and at which the step's limit passed, and DSR as it was then.
struct AckFailure
{
    int step = 0;
    double waitStart = 0;
    double deadline = 0;
    bool dsr = false;
};

// The one place that watches DSR for the display's acknowledgement of what was just written.
class AckWait
{
public:
    enum Result {
        Acknowledged,
        Failed,    // failure() says where
        WaitedOut, // failed, and the grace has passed since the wait began
        Stopped,   // a stop request ended the wait
    };

    AckWait(SerialLink& link, Pacer& pacer, std::function<bool()> stopRequested)
        : link_(link), pacer_(pacer), stopRequested_(std::move(stopRequested))
    {
    }

    // Watches the five steps. With a positive `graceSeconds` a failure is not told: the wait then lasts
    // until that many seconds have passed since it began. A stop request ends the wait, except once DSR
    // has dropped: the display is answering then, and its answer is watched to its end.
    Result wait(double graceSeconds);
    const AckFailure& failure() const { return failure_; }

private:
    // The step that failed, 0 when all five passed, -1 when stopped.
    int failedStep();
    bool stepHolds(int step);

    SerialLink& link_;
    Pacer& pacer_;
    std::function<bool()> stopRequested_;
    double waitStart_ = 0;
    double stepStart_ = 0;
    AckFailure failure_;
};
