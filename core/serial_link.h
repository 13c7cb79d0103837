#pragma once

#include "core/line_settings.h"
#include "core/link_status.h"
#include "core/stop_token.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class Pacer;

// DSR as one look at an open port finds it. A port without the line (a pseudo-terminal, a USB adapter
// that wires only the data lines) or whose device has gone cannot be read: that is not a low DSR.
enum class DsrLevel { Low, High, Unreadable };

// DSR as a look at the port finds it: its level, and how many times it has changed. Only differences
// between two counts mean anything; a look that cannot read the line changes no count.
struct DsrEvents
{
    DsrLevel level = DsrLevel::Low;
    quint64 changes = 0;

    bool high() const { return level == DsrLevel::High; }
    bool readable() const { return level != DsrLevel::Unreadable; }
};

// The only way to a port: exactly what the display protocols need. A settings change while open
// takes effect at once.
class SerialLink
{
public:
    virtual ~SerialLink() = default;

    virtual void setPortName(const QString& name) = 0;
    virtual QString portName() const = 0;
    virtual LinkStatus setSettings(const LineSettings& settings) = 0;
    virtual LineSettings settings() const = 0;

    virtual LinkStatus open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes the whole byte string, or fails.
    virtual LinkStatus write(const QByteArray& bytes) = 0;
    // High while the far side asserts DSR on the open port, Low while it does not or the port is closed,
    // Unreadable when the open port cannot report it.
    virtual DsrLevel dsr() = 0;
    // The system's words for the last look that found DSR Unreadable.
    virtual QString dsrUnreadableReason() const { return QStringLiteral("The port cannot report DSR"); }
    // Bytes written but not yet transmitted on the line.
    virtual qint64 bytesToWrite() = 0;

    // True when the driver reports and counts DSR changes itself: then no change is lost however late
    // the caller looks. Otherwise (the default) DSR is polled, and only the changes a look saw count.
    virtual bool reportsDsrChanges() const { return false; }
    // DSR now, with its change count.
    virtual DsrEvents dsrEvents();
    // Sleeps until DSR's change count is no longer `since`, the line cannot be read, `pacer` has passed
    // `deadline`, or `stop` is requested, whichever comes first; the caller looks again afterwards. The
    // default polls once per pacer pass, and looks at `stop` each time.
    virtual void waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop = {});

protected:
    // The polling default goes on from `last`: a link that stops taking counts from its driver keeps
    // them consistent across the change.
    void continueCountFrom(const DsrEvents& last)
    {
        if (last.readable())
            seenHigh_ = last.high();
        seenChanges_ = last.changes;
    }

private:
    // What the polling default has seen.
    bool seenHigh_ = false;
    quint64 seenChanges_ = 0;
};
