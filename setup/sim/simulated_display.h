#pragma once

#include "core/serial_link.h"
#include "setup/sim/display_device.h"
#include "setup/sim/display_faults.h"
#include "setup/sim/simulated_line.h"

#include <QList>
#include <QMutex>
#include <QStringList>

class Pacer;

// A VQ71xx display on a serial line, as a port the programs open: the line (the host's port, the
// bytes on their way at the line's speed, DSR reaching the port) joined to the display at its end.
// Time comes from a Pacer, so it runs in virtual time in tests and in real time behind the "sim"
// port. What has crossed the line is handed to the display whenever anything is asked of it.
class SimulatedDisplay : public SerialLink
{
public:
    using Faults = DisplayFaults;
    using Write = SimulatedLine::Write;

    explicit SimulatedDisplay(const Pacer& clock);

    // SerialLink
    void setPortName(const QString& name) override;
    QString portName() const override;
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override;
    LinkStatus open() override;
    void close() override;
    bool isOpen() const override;
    LinkStatus write(const QByteArray& bytes) override;
    DsrLevel dsr() override;
    QString dsrUnreadableReason() const override;
    qint64 bytesToWrite() override;
    // The display knows its own line: it counts every change of DSR at the port while the port is
    // open, as a driver does, however late the host looks.
    bool reportsDsrChanges() const override;
    DsrEvents dsrEvents() override;

    // Set-up and inspection. Safe from any thread.
    void setFaults(const Faults& faults);
    Faults faults() const;
    void setFlash(const DisplayFlash& flash);
    DisplayFlash flash() const;
    QStringList screen() const;
    bool inSetupState() const;
    // DSR as the line shows it now, whether or not the host has the port open: high while the
    // display is powered and neither acknowledging (a low pulse) nor restarting.
    bool dsrLine() const;
    // True from "F@" (or a power cycle) until the display has started again.
    bool restarting() const;
    int liveBalance() const;
    void setLiveBalance(int balance);
    int restarts() const;
    int acknowledgements() const;
    int garbageBytes() const;
    QList<Write> writes() const;
    // Every byte written by the host, in order.
    QByteArray wire() const;
    // The settings the display listens at now.
    LineSettings listeningSettings() const;
    // Switches the display off and on again: it restarts and shows its power-on lines.
    void powerCycle();

private:
    void advanceLocked() const;
    // DSR at the open port at `t`, as the line carries it from the display.
    bool portDsrLocked(double t) const;
    // Counts the changes of the port's DSR from the last count up to `now`.
    void countDsrChangesLocked(double now) const;

    const Pacer& clock_;
    mutable QMutex mutex_; // guards all below
    Faults faults_;
    // Both move on whenever the display is looked at: what has crossed the line by then is handled.
    mutable SimulatedLine line_;
    mutable DisplayDevice device_;
    // The port's DSR as counted up to countedTo_: its level there and the changes so far.
    mutable DsrEvents counted_;
    mutable double countedTo_ = 0;
};
