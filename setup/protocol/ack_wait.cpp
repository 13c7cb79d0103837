#include "protocol/ack_wait.h"

#include "core/pacer.h"

#include <algorithm>

namespace {

// Bits on the line for one character, as far as pacing the look at the output queue goes.
constexpr int kBitsPerCharacter = 10;
// The longest sleep between two looks at the output queue of a link that reports DSR changes.
constexpr int kOutputLookMs = 50;

} // namespace

AckWait::Result AckWait::wait(double graceSeconds)
{
    waitStart_ = pacer_.now();
    const double waitStartOfDay = pacer_.timeOfDay();
    const int failed = failedStep();
    if (failed < 0)
        return Stopped;
    if (failed == 0)
        return Acknowledged;
    if (graceSeconds > 0)
        return graceEnds(graceSeconds) ? WaitedOut : Stopped;
    // From the one reading of the time of day, on the monotonic clock: a clock changed during the wait
    // leaves the two numbers consistent.
    const double deadline =
        wrapToDay(waitStartOfDay + (stepStart_ - waitStart_) + kAckStepLimits[failed - 1]);
    failure_ = {failed, waitStartOfDay, deadline, link_.dsr()};
    return Failed;
}

bool AckWait::graceEnds(double graceSeconds)
{
    while (pacer_.now() - waitStart_ <= graceSeconds) {
        if (stopRequested_())
            return false;
        link_.waitForDsrChange(pacer_, link_.dsrEvents().changes, waitStart_ + graceSeconds, stopRequested_);
    }
    return true;
}

int AckWait::failedStep()
{
    stepStart_ = waitStart_;
    // Where the driver counts changes, the edges are counted from the wait's start: a pulse that began
    // while the output was still leaving is this frame's. A polling link counts from its first look
    // after step 1, as it always has.
    const bool counted = link_.reportsDsrChanges();
    if (counted)
        events_ = link_.dsrEvents();
    const auto failedAt = [](int step, StepEnd end) { return end == StepEnd::Stopped ? -1 : step; };
    if (const StepEnd end = outputLeft(); end != StepEnd::Passed)
        return failedAt(1, end);
    nextLook();
    if (!counted)
        events_ = link_.dsrEvents();
    // Once DSR has dropped the display has taken the frame and is answering: a stop request waits for
    // the answer (at most the last two steps), so that what was done counts it.
    const quint64 rise = events_.changes + (events_.high ? 0 : 1);
    if (const StepEnd end = countReaches(2, rise, true); end != StepEnd::Passed)
        return failedAt(2, end);
    nextLook();
    if (const StepEnd end = countReaches(3, rise + 1, true); end != StepEnd::Passed)
        return failedAt(3, end);
    // The low pulse must last longer than the step's limit; DSR back early is a glitch.
    if (staysLow(rise + 1) != StepEnd::Passed)
        return 4;
    nextLook();
    return countReaches(5, rise + 2, false) == StepEnd::Passed ? 0 : 5;
}

AckWait::StepEnd AckWait::outputLeft()
{
    const double limit = kAckStepLimits[0];
    for (;;) {
        if (stopRequested_())
            return StepEnd::Stopped;
        const double now = pacer_.now();
        const qint64 queued = link_.bytesToWrite();
        if (queued == 0) {
            stepStart_ = now;
            return StepEnd::Passed;
        }
        if (now - stepStart_ > limit)
            return StepEnd::Failed;
        if (!link_.reportsDsrChanges()) {
            pacer_.pump();
            continue;
        }
        // Not a DSR change: looked at again once the queued bytes should have left the port.
        const qint64 ms = queued * kBitsPerCharacter * 1000 / std::max(1, link_.settings().baud);
        pacer_.sleep(static_cast<int>(std::clamp<qint64>(ms, 1, kOutputLookMs)));
    }
}

AckWait::StepEnd AckWait::countReaches(int step, quint64 edge, bool stoppable)
{
    const double limit = kAckStepLimits[step - 1];
    const std::function<bool()> stop = stoppable ? stopRequested_ : std::function<bool()>();
    for (;;) {
        if (stop && stop())
            return StepEnd::Stopped;
        // The clock before the look: what the look finds was so at that time or later.
        const double now = pacer_.now();
        events_ = link_.dsrEvents();
        if (events_.changes >= edge) {
            stepStart_ = now;
            return StepEnd::Passed;
        }
        if (now - stepStart_ > limit)
            return StepEnd::Failed;
        link_.waitForDsrChange(pacer_, events_.changes, stepStart_ + limit, stop);
    }
}

AckWait::StepEnd AckWait::staysLow(quint64 drop)
{
    const double limit = kAckStepLimits[3];
    // A polling link looks at every pass, so once the limit has passed the pulse was seen low to its end
    // (within one pass). Where the driver wakes the wait, DSR back high at a wake after the limit may
    // have come back at any time since the last look: the pulse cannot be shown to have lasted, and is
    // a glitch.
    const bool polled = !link_.reportsDsrChanges();
    nextLook();
    for (;;) {
        const double now = pacer_.now();
        const bool over = now - stepStart_ > limit;
        if (over && polled) {
            stepStart_ = now;
            return StepEnd::Passed;
        }
        events_ = link_.dsrEvents();
        // Back high, or a pulse that ended before step 3 saw it drop: not seen low for 50 ms either.
        if (events_.changes > drop)
            return StepEnd::Failed;
        if (over) {
            stepStart_ = now;
            return StepEnd::Passed;
        }
        link_.waitForDsrChange(pacer_, events_.changes, stepStart_ + limit);
    }
}

void AckWait::nextLook()
{
    link_.waitForDsrChange(pacer_, events_.changes, pacer_.now());
}
