#include "protocol/ack_wait.h"

#include "core/pacer.h"
#include "core/serial_link.h"

AckWait::Result AckWait::wait(double graceSeconds)
{
    waitStart_ = pacer_.now();
    const double waitStartOfDay = pacer_.timeOfDay();
    const int failed = failedStep();
    if (failed < 0)
        return Stopped;
    if (failed == 0)
        return Acknowledged;
    if (graceSeconds > 0) {
        while (pacer_.now() - waitStart_ <= graceSeconds) {
            if (stopRequested_())
                return Stopped;
            pacer_.pump();
        }
        return WaitedOut;
    }
    // From the one reading of the time of day, on the monotonic clock: a clock changed during the wait
    // leaves the two numbers consistent.
    const double deadline =
        wrapToDay(waitStartOfDay + (stepStart_ - waitStart_) + kAckStepLimits[failed - 1]);
    failure_ = {failed, waitStartOfDay, deadline, link_.dsr()};
    return Failed;
}

int AckWait::failedStep()
{
    stepStart_ = waitStart_;
    for (int step = 1; step <= 5;) {
        // Once DSR has dropped the display has taken the frame and is answering: a stop request
        // waits for the answer (at most the last two steps), so that what was done counts it.
        if (step <= 3 && stopRequested_())
            return -1;
        const double elapsed = pacer_.now() - stepStart_;
        const double limit = kAckStepLimits[step - 1];
        bool passed = false;
        if (step == 4) {
            // The low pulse must last longer than the step's limit; DSR back early is a glitch.
            if (elapsed > limit)
                passed = true;
            else if (link_.dsr())
                return 4;
        } else if (stepHolds(step)) {
            passed = true;
        } else if (elapsed > limit) {
            return step;
        }
        if (passed) {
            ++step;
            stepStart_ = pacer_.now();
        }
        if (step <= 5)
            pacer_.pump();
    }
    return 0;
}

// The conditions that pass steps 1, 2, 3 and 5 when they hold (step 4 is a duration).
bool AckWait::stepHolds(int step)
{
    switch (step) {
    case 1:
        return link_.bytesToWrite() == 0;
    case 2:
    case 5:
        return link_.dsr();
    case 3:
        return !link_.dsr();
    default:
        return false;
    }
}
