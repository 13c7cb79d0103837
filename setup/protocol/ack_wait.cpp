#include "setup/protocol/ack_wait.h"

#include "core/pacer.h"

#include <algorithm>
#include <cmath>

namespace {

// Bits on the line for one character, as far as pacing the look at the output queue goes.
constexpr int kBitsPerCharacter = 10;
// The longest sleep between two looks at the output queue of a link that reports DSR changes.
constexpr int kOutputLookMs = 50;
// The shortest pulse that acknowledges: a gap between two polled looks longer than this can hide one.
constexpr double kShortestAnswer = kAckStepLimits[3];

int milliseconds(double seconds)
{
    return static_cast<int>(std::lround(seconds * 1000));
}

} // namespace

AckWait::Result AckWait::wait(double graceSeconds)
{
    waitStart_ = pacer_.now();
    const double waitStartOfDay = pacer_.timeOfDay();
    const Verdict verdict = watchSteps();
    if (verdict.end == StepEnd::Stopped)
        return Stopped;
    if (verdict.end == StepEnd::Unreadable)
        return Unreadable; // no grace: a line that cannot be read will not show an answer either
    if (verdict.step == 0)
        return Acknowledged;
    if (graceSeconds > 0)
        return graceEnds(graceSeconds) ? WaitedOut : Stopped;
    // From the one reading of the time of day, on the monotonic clock: a clock changed during the wait
    // leaves the two numbers consistent.
    failure_.step = verdict.step;
    failure_.waitStart = waitStartOfDay;
    failure_.deadline =
        wrapToDay(waitStartOfDay + (stepStart_ - waitStart_) + kAckStepLimits[verdict.step - 1]);
    failure_.dsr = link_.dsr() == DsrLevel::High;
    return verdict.end == StepEnd::TooLate ? TooLate : Failed;
}

bool AckWait::graceEnds(double graceSeconds)
{
    while (pacer_.now() - waitStart_ <= graceSeconds) {
        if (stop_.stopRequested())
            return false;
        link_.waitForDsrChange(pacer_, link_.dsrEvents().changes, waitStart_ + graceSeconds, stop_);
    }
    return true;
}

AckWait::Verdict AckWait::watchSteps()
{
    stepStart_ = waitStart_;
    // Changes count from the wait's start on every link: a pulse that began while the output was still
    // leaving, or while the process was off the processor, is this frame's.
    lookAt_ = waitStart_;
    if (!look())
        return {1, StepEnd::Unreadable};
    const quint64 rise = events_.changes + (events_.high() ? 0 : 1);
    const auto verdictAt = [](int step, StepEnd end) {
        return Verdict{end == StepEnd::Passed ? 0 : step, end};
    };
    if (const StepEnd end = outputLeft(); end != StepEnd::Passed)
        return verdictAt(1, end);
    const double outputLeftAt = stepStart_;
    nextLook();
    // Once DSR has dropped the display has taken the frame and is answering: a stop request waits for
    // the answer (at most the last two steps), so that what was done counts it.
    if (const StepEnd end = countReaches(2, rise, true); end != StepEnd::Passed)
        return verdictAt(2, end);
    nextLook();
    if (const StepEnd end = countReaches(3, rise + 1, true); end != StepEnd::Passed)
        return verdictAt(3, end);
    // Where the driver counts changes, its wake comes with the drop, unless one look found the whole
    // pulse over. Otherwise DSR was last known high at the look before the one that saw the drop; an
    // answer does not end before what it answers has left the port.
    highUntil_ = counted_ && events_.changes == rise + 1 ? lookAt_ : std::max(previousLookAt_, outputLeftAt);
    // The low pulse must last longer than the step's limit; DSR back early is a glitch.
    if (const StepEnd end = staysLow(rise + 1); end != StepEnd::Passed)
        return verdictAt(4, end);
    nextLook();
    return verdictAt(5, countReaches(5, rise + 2, false));
}

AckWait::StepEnd AckWait::outputLeft()
{
    const double limit = kAckStepLimits[0];
    for (;;) {
        if (stop_.stopRequested())
            return StepEnd::Stopped;
        const double now = pacer_.now();
        const qint64 queued = link_.bytesToWrite();
        if (!counted_ && !look()) // a polled link sees DSR only when it looks
            return StepEnd::Unreadable;
        if (queued == 0) {
            stepStart_ = now;
            return StepEnd::Passed;
        }
        if (now - stepStart_ > limit)
            return StepEnd::Failed;
        if (!counted_) {
            pacer_.pump();
            continue;
        }
        // Not a DSR change: looked at again once the queued bytes should have left the port, and once
        // more just after the step's limit.
        const qint64 ms = queued * kBitsPerCharacter * 1000 / std::max(1, link_.settings().baud);
        const int untilLimit = milliseconds(stepStart_ + limit - now) + 1;
        pacer_.sleep(
            static_cast<int>(std::clamp<qint64>(std::min<qint64>(ms, untilLimit), 1, kOutputLookMs)));
    }
}

AckWait::StepEnd AckWait::countReaches(int step, quint64 edge, bool stoppable)
{
    const double limit = kAckStepLimits[step - 1];
    // A step that is not stoppable waits with a token that nothing stops.
    const StopToken stop = stoppable ? stop_ : StopToken();
    for (;;) {
        if (stop.stopRequested())
            return StepEnd::Stopped;
        if (!look())
            return StepEnd::Unreadable;
        if (events_.changes >= edge) {
            stepStart_ = lookAt_;
            return StepEnd::Passed;
        }
        if (lookAt_ - stepStart_ > limit) {
            // A polled link that left DSR unwatched longer than the shortest answer may have missed
            // one whole: that is not a display that did not answer.
            if (step == 3 && !counted_ && longestGap_ > kShortestAnswer) {
                failure_.unwatchedMs = milliseconds(longestGap_);
                return StepEnd::TooLate;
            }
            return StepEnd::Failed;
        }
        sleepUntilChange(events_.changes, stepStart_ + limit, stop);
    }
}

AckWait::StepEnd AckWait::staysLow(quint64 drop)
{
    const double limit = kAckStepLimits[3];
    double lowAt = lookAt_; // the latest look that found DSR still low
    for (;;) {
        if (!look())
            return StepEnd::Unreadable;
        if (events_.changes > drop) {
            // DSR came back high after `lowAt`: the pulse lasted at most this long. A look that came
            // well after the limit cannot tell a glitch from an answer.
            const double longest = lookAt_ - highUntil_;
            if (longest > limit + kAckLookTolerance) {
                failure_.unwatchedMs = milliseconds(std::max(lookAt_ - lowAt, stepStart_ - highUntil_));
                return StepEnd::TooLate;
            }
            return StepEnd::Failed;
        }
        lowAt = lookAt_;
        // Seen low after the limit: the pulse has lasted longer than the step's limit.
        if (lookAt_ - stepStart_ > limit) {
            stepStart_ = lookAt_;
            return StepEnd::Passed;
        }
        sleepUntilChange(events_.changes, stepStart_ + limit, {});
    }
}

bool AckWait::look()
{
    // The clock before the look: what the look finds was so at that time or later.
    const double now = pacer_.now();
    previousLookAt_ = lookAt_;
    lookAt_ = now;
    longestGap_ = std::max(longestGap_, lookAt_ - previousLookAt_);
    events_ = link_.dsrEvents();
    return events_.readable();
}

void AckWait::sleepUntilChange(quint64 since, double deadline, const StopToken& stop)
{
    if (counted_)
        link_.waitForDsrChange(pacer_, since, deadline, stop);
    else
        pacer_.pump();
}

void AckWait::nextLook()
{
    sleepUntilChange(events_.changes, pacer_.now(), {});
}
