#pragma once

#include "core/serial_link.h"

#include <QLoggingCategory>

class Pacer;
class TrafficLog;

// The wire, observable: every write, every DSR change and every settings change, as a hex dump
// with millisecond timestamps. Off by default; on with `vfdctl --trace` or the rule
// QT_LOGGING_RULES="talvex.wire.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWire)

// A link that logs what passes through it to the wire category, then hands it to the inner link.
class TracedLink : public SerialLink
{
public:
    // `log` (optional) also receives every event, for the window's traffic view. A `label` (a fleet's
    // port name) starts each trace line, so that the lines of many ports can be told apart.
    TracedLink(SerialLink& inner, const Pacer& pacer, TrafficLog* log = nullptr, QString label = {})
        : inner_(inner), pacer_(pacer), log_(log), label_(std::move(label))
    {
    }

    void setPortName(const QString& name) override { inner_.setPortName(name); }
    QString portName() const override { return inner_.portName(); }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return inner_.settings(); }
    LinkStatus open() override;
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    LinkStatus write(const QByteArray& bytes) override;
    DsrLevel dsr() override;
    QString dsrUnreadableReason() const override { return inner_.dsrUnreadableReason(); }
    qint64 bytesToWrite() override { return inner_.bytesToWrite(); }
    bool reportsDsrChanges() const override { return inner_.reportsDsrChanges(); }
    DsrEvents dsrEvents() override;
    void waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop = {}) override;

private:
    void record(const QString& event, const QString& text);
    // DSR's level, when it differs from the last one recorded.
    void recordDsr(DsrLevel level);
    // How DSR is watched, at the open and whenever that changes.
    void recordWatch();
    SerialLink& inner_;
    const Pacer& pacer_;
    TrafficLog* log_;
    QString label_;
    int lastDsr_ = -1;
    int lastWatch_ = -1;
};

// "1F 46 52  .FR" : hex bytes and their printable characters.
QString hexDump(const QByteArray& bytes);
