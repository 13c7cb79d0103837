#pragma once

#include "core/serial_link.h"

#include <functional>

class Pacer;

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

// The one place that watches DSR for the display's acknowledgement of what was just written. It sleeps
// until DSR changes (SerialLink::waitForDsrChange) and tells the steps apart by DSR's change count: the
// rise of step 2, the drop of step 3 and the rise of step 5 are three edges in a row, so a pulse that
// began and ended while the process was not running still shows as two edges.
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
    enum class StepEnd { Passed, Failed, Stopped };

    // The step that failed, 0 when all five passed, -1 when stopped.
    int failedStep();
    // Step 1: what was written has left the port.
    StepEnd outputLeft();
    // Steps 2, 3 and 5: DSR's change count reaches `edge`. Looks at DSR, sleeps until it changes or the
    // step's limit passes, and looks again.
    StepEnd countReaches(int step, quint64 edge, bool stoppable);
    // Step 4: DSR stays low (the count stays at `drop`) for longer than the step's limit.
    StepEnd staysLow(quint64 drop);
    // The next look: one pass later on a polling link, at once where the driver reports changes.
    void nextLook();
    // Sits out the rest of the grace after a failure; false when a stop request ended it.
    bool graceEnds(double graceSeconds);

    SerialLink& link_;
    Pacer& pacer_;
    std::function<bool()> stopRequested_;
    double waitStart_ = 0;
    double stepStart_ = 0;
    DsrEvents events_;
    AckFailure failure_;
};
