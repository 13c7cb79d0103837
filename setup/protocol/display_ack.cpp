#include "protocol/display_ack.h"

#include "protocol/display_session.h"

#include <cmath>

QString shortDecimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString ackFailureText(int step, double waitStart, double stepDeadline, bool dsr)
{
    return QStringLiteral("Process.%1( %2/%3/%4)")
        .arg(step)
        .arg(shortDecimal(waitStart, 2), shortDecimal(stepDeadline, 2),
             dsr ? QStringLiteral("True") : QStringLiteral("False"));
}

namespace {

// Step conditions that pass the step when they hold (step 4 is handled apart).
bool stepHolds(SerialLink& link, int step)
{
    switch (step) {
    case 1:
        return link.bytesToWrite() == 0;
    case 2:
    case 5:
        return link.dsr();
    case 3:
        return !link.dsr();
    default:
        return false;
    }
}

} // namespace

Outcome DisplaySession::awaitAck(double graceSeconds)
{
    if (!open_)
        return outcome(Outcome::stopped()); // a session that did not open, or was closed, waits for nothing
    SerialLink& link = access_.link;
    Pacer& pacer = access_.pacer;
    const double waitStart = pacer.now();
    const double waitStartOfDay = pacer.timeOfDay();
    int step = 1;
    double stepStart = waitStart;
    int failedStep = 0;

    while (failedStep == 0 && step <= 5) {
        // Once DSR has dropped the display has taken the frame and is answering: a stop request
        // waits for the answer (at most the last two steps), so that what was done counts it.
        if (linkFailed() || (stopRequested() && step <= 3))
            return outcome();
        const double elapsed = pacer.now() - stepStart;
        const double limit = kAckSteps[step - 1].limit;
        bool passed = false;
        if (step == 4) {
            // The low pulse must last longer than the step's limit; DSR back early is a glitch.
            if (elapsed > limit)
                passed = true;
            else if (link.dsr())
                failedStep = 4;
        } else if (stepHolds(link, step)) {
            passed = true;
        } else if (elapsed > limit) {
            failedStep = step;
        }
        if (passed) {
            ++step;
            stepStart = pacer.now();
        }
        if (failedStep == 0 && step <= 5)
            pacer.pump();
    }
    if (failedStep == 0)
        return Outcome::passed(); // acknowledged; a stop request is honoured by the next step

    if (graceSeconds > 0) {
        while (pacer.now() - waitStart <= graceSeconds) {
            if (halted())
                return outcome();
            pacer.pump();
        }
        return outcome();
    }

    const bool dsr = link.dsr();
    // From the one reading of the time of day, on the monotonic clock: a clock changed during the wait
    // leaves the two numbers consistent.
    const double deadline =
        wrapToDay(waitStartOfDay + (stepStart - waitStart) + kAckSteps[failedStep - 1].limit);
    const Outcome failed =
        Outcome::noAck(failedStep, ackFailureText(failedStep, waitStartOfDay, deadline, dsr));
    // The box comes before the NAK lines: the display shows them once the person has read it.
    if (!stopRequested())
        access_.dialogs.message(Dialogs::Exclamation, failed.title(), failed.text());
    write(QByteArray(1, '\x0C'));
    write(QByteArrayLiteral("Flash Write NAK  ???"));
    write(QByteArrayLiteral("Please Try Again ???"));
    return outcome(failed);
}
