#pragma once

#include <QString>

// What failed on a link. The words and numbers a person sees for each belong to the front ends
// (vfdsetup and vfdctl: setup/messages/; vfddemo: demo/link/port_messages).
enum class LinkFailure {
    None,
    PortMissing,     // the system has no such port
    PortBusy,        // another program holds the port
    PortOpenHere,    // this program has the port open already
    AccessDenied,    // this user may not open the port
    BadPortName,     // the text names no port
    SettingsRefused, // the port refused the line settings (speed, parity, data or stop bits)
    OpenFailed,      // anything else while opening
    WriteFailed,     // the port refused or lost a write while open
    DsrUnreadable,   // the open port cannot report DSR (a pseudo-terminal, an adapter without the line)
};

// The outcome of a link call: what failed, and the system's own words for a detail line.
struct LinkStatus
{
    LinkFailure what = LinkFailure::None;
    QString reason;

    bool ok() const { return what == LinkFailure::None; }
    static LinkStatus success() { return {}; }
    static LinkStatus failure(LinkFailure what, QString reason) { return {what, std::move(reason)}; }
};
