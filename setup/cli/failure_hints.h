#pragma once

#include <QString>
#include <optional>

class Outcome;

// What failed, where vfdctl can tell a person what it means and what to check.
enum class FailureKey {
    AckStep1,                 // no acknowledgement: what was written did not leave the port
    AckStep2,                 // DSR was not high when the wait began
    AckStep3,                 // DSR never dropped: the display did not answer
    AckStep4,                 // DSR dropped for less than the pulse's minimum
    AckStep5,                 // DSR did not rise again after the pulse
    AckForced,                // no answer in the forced firmware mode (DIP switch 12)
    PortMissing,              // no such port
    PortInUse,                // another program holds the port
    PortNotPermitted,         // this user may not open the port
    PortWithoutDsr,           // the port cannot report DSR
    PortNamedTwice,           // a port given twice on the command line
    GlobalOptionAfterCommand, // a global option given after the command
};

// What fills a hint's blanks: {port} the port as given (with the system's name where that differs),
// {system} the system's name of the port, {line} the line settings vfdctl used, {option} an option.
struct HintValues
{
    QString port;
    QString system;
    QString line;
    QString option;
};

// The key of an outcome, when there is a hint for it. `forcedFirmware`: the outcome ends a firmware
// update with --force.
std::optional<FailureKey> failureKey(const Outcome& outcome, bool forcedFirmware);

// The values of a port's hints: its name as given and the system's, and the line settings used.
HintValues portHintValues(const QString& port, const QString& line);

// The line for a person that follows the failure's own message: what it means and what to check.
QString failureHint(FailureKey key, const HintValues& values);
