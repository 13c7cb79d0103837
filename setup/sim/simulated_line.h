#pragma once

#include "core/line_settings.h"
#include "core/link_status.h"
#include "setup/sim/display_faults.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// The host's port and the line to a simulated display: the port's name, settings and faults, the bytes
// written and not yet sent (each write leaves at the line's speed after the ones before it), and whether
// the display's DSR reaches the port. The newest writes are kept, with their time and settings, up to a
// bound (a display left running for days must not fill the memory). Not thread-safe: SimulatedDisplay
// guards it.
class SimulatedLine
{
public:
    // A write as the host made it: when, at which settings ("9600,N,8,1"), which bytes.
    struct Write
    {
        double time;
        QString settings;
        QByteArray bytes;
        bool operator==(const Write&) const = default;
    };
    // Receives bytes that have crossed the line: when their last bit arrived, the settings they were
    // sent at, the bytes.
    using Arrival = std::function<void(double time, const LineSettings& settings, const QByteArray& bytes)>;

    explicit SimulatedLine(const DisplayFaults& faults) : faults_(faults) {}

    void setPortName(const QString& name) { portName_ = name; }
    QString portName() const { return portName_; }
    void setSettings(const LineSettings& settings) { settings_ = settings; }
    LineSettings settings() const { return settings_; }

    LinkStatus open(double now);
    // What was still queued in the host's buffers is lost with the close.
    void close();
    bool isOpen() const { return open_; }
    // Why a write cannot be made now (the port is closed, the adapter was pulled out, the write fails);
    // success when it can.
    LinkStatus refuseWrite();
    // Queues a write that was not refused.
    void send(double now, const QByteArray& bytes);
    qint64 bytesToWrite(double now) const;
    // Hands what has crossed the line by `now` to `arrive`, in order; with no display on the line it is lost.
    void deliver(double now, const Arrival& arrive);
    // True when the display's DSR reaches the port at `t`, whatever the display itself does with it.
    bool carriesDsr(double t) const;
    // When the display's DSR first reaches the open port.
    double dsrReachesAt() const;
    // The newest writes, oldest first: at most kKeptWrites of them and kKeptBytes of bytes.
    const QList<Write>& writes() const { return writes_; }
    // How many writes the port has taken since it was made, the forgotten ones among them.
    qint64 writeCount() const { return writeCount_; }

    static constexpr qsizetype kKeptWrites = 20000;
    static constexpr qsizetype kKeptBytes = 4 * 1024 * 1024;

private:
    struct Chunk
    {
        double start;
        double end;
        LineSettings settings;
        QByteArray bytes;
    };

    const DisplayFaults& faults_;
    QString portName_;
    LineSettings settings_;
    bool open_ = false;
    bool vanished_ = false;
    double openedAt_ = 0;
    int writeAttempts_ = 0;
    QList<Chunk> inFlight_;
    QList<Write> writes_;
    qsizetype keptBytes_ = 0;
    qint64 writeCount_ = 0;
};
