#include "setup/cli/failure_hints.h"

#include "core/link_status.h"
#include "core/port_name.h"
#include "setup/messages/message_catalogue.h"
#include "setup/protocol/ack_wait.h"
#include "setup/protocol/outcome.h"

namespace {

struct Hint
{
    FailureKey key;
    const char* text;
};

// Every hint vfdctl gives, in one place. An acknowledgement step's hint starts with what the step
// waits for and how long, as the wait itself has them.
constexpr Hint kHints[] = {
    {FailureKey::AckStep1, "the line did not take the bytes: check the adapter and the cable (a line held "
                           "back by flow control never empties)."},
    {FailureKey::AckStep2, "the display had dropped DSR: check that it is switched on and that the cable "
                           "carries DSR."},
    {FailureKey::AckStep3, "the display did not answer. It answers only at its current rate and format: "
                           "check that they are {line} (else give them with --baud and --format) and that "
                           "the cable carries DSR."},
    {FailureKey::AckStep4, "DSR rose sooner, a glitch rather than an answer: check the cable and its plugs."},
    {FailureKey::AckStep5, "DSR stayed low: check the display's power and the cable."},
    {FailureKey::AckForced, "With --force the display answers only while its DIP switch 12 is ON: set it, "
                            "switch the display off and on, and run the update again."},
    {FailureKey::PortMissing, "There is no port {port} on this system: 'vfdctl list-ports' lists the ports "
                              "there are."},
    {FailureKey::PortInUse, "Another program holds {port} (vfdsetup, a terminal program, another vfdctl): "
                            "close it and try again; 'fuser -v {system}' names it on Linux."},
    {FailureKey::PortNotPermitted, "Your user may not open {system}: it must be in the group dialout (see "
                                   "the line above); 'id -nG' lists your groups."},
    {FailureKey::PortWithoutDsr,
     "{port} cannot report DSR, the line the display answers on: a pseudo-terminal "
     "has none, nor has a USB adapter that wires only the data lines. Use a port "
     "that carries DSR (a COM port, an adapter with the modem lines), or 'sim' to "
     "try without a display."},
    {FailureKey::PortNamedTwice, "{port} is given more than once (--port, --ports): name each port once."},
    {FailureKey::GlobalOptionAfterCommand, "{option} is a global option: it goes before the command "
                                           "(vfdctl [global options] COMMAND ...)."},
};

// What each step of the acknowledgement waits for, in the wait's order.
constexpr const char* kAckStepConditions[5] = {
    "everything written has left the port", "DSR is high",       "DSR has dropped",
    "DSR stays low for the whole step",     "DSR is high again",
};

} // namespace

std::optional<FailureKey> failureKey(const Outcome& outcome, bool forcedFirmware)
{
    if (outcome.kind() == Outcome::NoAck) {
        const int step = outcome.ackFailure().step;
        // In the forced mode the display takes the update only with its DIP switch set: a display
        // that does not answer at all is most likely one that was not set.
        if (forcedFirmware && step == 3)
            return FailureKey::AckForced;
        if (step >= 1 && step <= 5)
            return static_cast<FailureKey>(static_cast<int>(FailureKey::AckStep1) + step - 1);
        return std::nullopt;
    }
    if (outcome.kind() != Outcome::PortFailed)
        return std::nullopt;
    switch (outcome.link().what) {
    case LinkFailure::PortMissing:
        return FailureKey::PortMissing;
    case LinkFailure::PortBusy:
    case LinkFailure::PortOpenHere:
        return FailureKey::PortInUse;
    case LinkFailure::AccessDenied:
        return FailureKey::PortNotPermitted;
    case LinkFailure::DsrUnreadable:
        return FailureKey::PortWithoutDsr;
    default:
        return std::nullopt;
    }
}

HintValues portHintValues(const QString& port, const QString& line)
{
    const QString system = systemPortName(port).value_or(port);
    return {system == port ? port : QStringLiteral("%1 (%2)").arg(port, system), system, line, {}};
}

QString failureHint(FailureKey key, const HintValues& values)
{
    QString text;
    for (const Hint& hint : kHints)
        if (hint.key == key)
            text = QString::fromUtf8(hint.text);
    const int step = static_cast<int>(key) - static_cast<int>(FailureKey::AckStep1) + 1;
    if (step >= 1 && step <= 5)
        text = QStringLiteral("The acknowledgement failed at step %1 (%2, limit %3 s): ")
                   .arg(step)
                   .arg(QString::fromLatin1(kAckStepConditions[step - 1]),
                        shortDecimal(kAckStepLimits[step - 1], 2)) +
               text;
    return text.replace(QLatin1String("{port}"), values.port)
        .replace(QLatin1String("{system}"), values.system)
        .replace(QLatin1String("{line}"), values.line)
        .replace(QLatin1String("{option}"), values.option);
}
