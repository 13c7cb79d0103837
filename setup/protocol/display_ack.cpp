#include "protocol/display_ack.h"

#include "protocol/device_context.h"

#include <cmath>

QString ShortDecimal(double value, int decimals)
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

QString AckFailureText(int step, double waitStart, double stepDeadline, bool dsr)
{
    return QStringLiteral("Process.%1( %2/%3/%4)")
        .arg(step)
        .arg(ShortDecimal(waitStart, 2), ShortDecimal(stepDeadline, 2),
             dsr ? QStringLiteral("True") : QStringLiteral("False"));
}

namespace {

// Step conditions that pass the step when they hold (step 4 is handled apart).
bool StepHolds(DeviceContext& device, int step)
{
    switch (step) {
    case 1:
        return device.link.bytesToWrite() == 0;
    case 2:
    case 5:
        return device.link.dsr();
    case 3:
        return !device.link.dsr();
    default:
        return false;
    }
}

} // namespace

bool WaitDisplayAck(DeviceContext& device, double graceSeconds)
{
    Pacer& pacer = device.pacer;
    const double waitStart = pacer.now();
    const double waitStartOfDay = pacer.timeOfDay();
    int step = 1;
    double stepStart = waitStart;
    int failedStep = 0;

    while (failedStep == 0 && step <= 5) {
        if (device.halted())
            return false;
        const double elapsed = pacer.now() - stepStart;
        const double limit = kAckSteps[step - 1].limit;
        bool passed = false;
        if (step == 4) {
            // The low pulse must last longer than the step's limit; DSR back early is a glitch.
            if (elapsed > limit)
                passed = true;
            else if (device.link.dsr())
                failedStep = 4;
        } else if (StepHolds(device, step)) {
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
        return true;

    if (graceSeconds > 0) {
        while (pacer.now() - waitStart <= graceSeconds) {
            if (device.halted())
                return false;
            pacer.pump();
        }
        return true;
    }

    const bool dsr = device.link.dsr();
    const double deadline = waitStartOfDay + (stepStart - waitStart) + kAckSteps[failedStep - 1].limit;
    if (!device.stopRequested())
        device.dialogs.message(Dialogs::Exclamation, QStringLiteral("Display ack. failed"),
                               AckFailureText(failedStep, waitStartOfDay, deadline, dsr));
    device.send(QByteArray(1, '\x0C'));
    device.send(QByteArrayLiteral("Flash Write NAK  ???"));
    device.send(QByteArrayLiteral("Please Try Again ???"));
    return false;
}
