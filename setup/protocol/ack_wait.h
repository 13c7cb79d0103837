#pragma once

#include "core/serial_link.h"
#include "core/stop_token.h"

class Pacer;

// The display acknowledges a frame with a low pulse on DSR. The wait has five steps, each with its limit
// in seconds, counted from the moment the step before it was passed: everything written has left the
// port, DSR is high, DSR has dropped, DSR stays low for the whole step, DSR is high again.
inline constexpr double kAckStepLimits[5] = {6.0, 6.0, 3.0, 0.05, 1.0};

// Where an acknowledgement wait failed: the step, the time of day (seconds since midnight) at which the
// wait began and at which the step's limit passed, and DSR as it was then. For a wait whose host looked
// too late to tell, also how long DSR went unwatched where the verdict needed a look, in milliseconds.
struct AckFailure
{
    int step = 0;
    double waitStart = 0;
    double deadline = 0;
    bool dsr = false;
    int unwatchedMs = 0;
};

// A host that looks late can leave a pulse undecided: the rise seen after the step-4 limit may have come
// before it or after. Up to this much uncertainty the rise counts as early (a glitch); beyond it the
// wait cannot tell, and says so.
inline constexpr double kAckLookTolerance = 0.01;

// The one place that watches DSR for the display's acknowledgement of what was just written. It sleeps
// until DSR changes (SerialLink::waitForDsrChange) and tells the steps apart by DSR's change count,
// counted from the wait's start on every link: the rise of step 2, the drop of step 3 and the rise of
// step 5 are three edges in a row, so a pulse that began and ended while the process was not running
// still shows as two edges where the link counts them. No step is decided without a look at DSR after
// its limit. Where the host looked so late that a whole pulse could have passed unseen (a polled link),
// or that a rise could have come before or after the step-4 limit, the verdict is TooLate: neither an
// acknowledgement nor a glitch.
class AckWait
{
public:
    enum Result {
        Acknowledged,
        Failed,     // failure() says where
        TooLate,    // the host looked too late to tell; failure() says where and for how long
        WaitedOut,  // failed or too late, and the grace has passed since the wait began
        Stopped,    // a stop request ended the wait
        Unreadable, // a look could not read DSR: the link's dsrUnreadableReason() says why
    };

    AckWait(SerialLink& link, Pacer& pacer, StopToken stop)
        : link_(link), pacer_(pacer), stop_(std::move(stop)), counted_(link.reportsDsrChanges())
    {
    }

    // Watches the five steps. With a positive `graceSeconds` a failure is not told: the wait then lasts
    // until that many seconds have passed since it began. A stop request ends the wait, except once DSR
    // has dropped: the display is answering then, and its answer is watched to its end.
    Result wait(double graceSeconds);
    const AckFailure& failure() const { return failure_; }

private:
    enum class StepEnd { Passed, Failed, TooLate, Stopped, Unreadable };
    struct Verdict
    {
        int step; // 0 when all five passed
        StepEnd end;
    };

    // Watches the five steps in order; the first that does not pass ends the watch.
    Verdict watchSteps();
    // Step 1: what was written has left the port.
    StepEnd outputLeft();
    // Steps 2, 3 and 5: DSR's change count reaches `edge`. Looks at DSR, sleeps until it changes or the
    // step's limit passes, and looks again.
    StepEnd countReaches(int step, quint64 edge, bool stoppable);
    // Step 4: DSR stays low (the count stays at `drop`) for longer than the step's limit.
    StepEnd staysLow(quint64 drop);
    // One look at DSR, at the clock read before it; remembers the one before. False when the line
    // cannot be read.
    bool look();
    // Until DSR's count is no longer `since` or `deadline` has passed: the link's own wait where it
    // counts changes, one polling pass otherwise (the caller looks again either way).
    void sleepUntilChange(quint64 since, double deadline, const StopToken& stop);
    // The next look: one pass later on a polling link, at once where the driver reports changes.
    void nextLook();
    // Sits out the rest of the grace after a failure; false when a stop request ended it.
    bool graceEnds(double graceSeconds);

    SerialLink& link_;
    Pacer& pacer_;
    StopToken stop_;
    const bool counted_;
    double waitStart_ = 0;
    double stepStart_ = 0;
    DsrEvents events_;
    double lookAt_ = 0;         // the clock before the latest look
    double previousLookAt_ = 0; // the clock before the look before it
    double longestGap_ = 0;     // the longest time between two looks so far
    double highUntil_ = 0;      // DSR known high (not yet dropped) up to here, once the drop is seen
    AckFailure failure_;
};
