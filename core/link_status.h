#pragma once

#include <QString>

// The outcome of a link call. A failure carries the number the person sees in the message
// (8002 missing port, 8005/8015 port in use, another number for anything else) and the
// system's own words for a detail line.
struct LinkStatus
{
    int number = 0;
    QString reason;

    bool ok() const { return number == 0; }
    static LinkStatus success() { return {}; }
    static LinkStatus failure(int number, QString reason) { return {number, std::move(reason)}; }
};

// Failure numbers used by the links, spelled LinkError::PortMissing; each is the int a LinkStatus holds.
namespace LinkError {
enum Number : int {
    PortMissing = 8002,
    PortInUse = 8005,
    PortInUseByOther = 8015,
    OpenFailed = 8010,  // anything else while applying the selection or opening
    WriteFailed = 8020, // the port refused or lost a write while open
};
} // namespace LinkError
