#include "core/wire_trace.h"

#include "core/pacer.h"
#include "core/traffic_log.h"

Q_LOGGING_CATEGORY(lcWire, "talvex.wire", QtWarningMsg)

QString hexDump(const QByteArray& bytes)
{
    QString hex;
    QString text;
    for (char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        if (!hex.isEmpty())
            hex += QLatin1Char(' ');
        hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        text += (byte >= 0x20 && byte < 0x7F) ? QChar(byte) : QChar(u'.');
    }
    return hex + QStringLiteral("  ") + text;
}

void TracedLink::record(const QString& event, const QString& text)
{
    const double timeOfDay = pacer_.timeOfDay();
    if (label_.isEmpty())
        qCDebug(lcWire).noquote() << TrafficLog::clock(timeOfDay) << event.leftJustified(9) << text;
    else
        qCDebug(lcWire).noquote() << label_ + QLatin1Char(':') << TrafficLog::clock(timeOfDay)
                                  << event.leftJustified(9) << text;
    if (log_)
        log_->add(timeOfDay, event, text);
}

LinkStatus TracedLink::setSettings(const LineSettings& settings)
{
    record(QStringLiteral("settings"), settings.toText());
    return inner_.setSettings(settings);
}

LinkStatus TracedLink::open()
{
    LinkStatus status = inner_.open();
    record(status.ok() ? QStringLiteral("open") : QStringLiteral("failed"),
           inner_.portName() + (status.ok() ? QString() : QStringLiteral(": ") + status.reason));
    lastDsr_ = -1;
    lastWatch_ = -1;
    if (status.ok())
        recordWatch();
    return status;
}

void TracedLink::close()
{
    record(QStringLiteral("close"), inner_.portName());
    inner_.close();
}

LinkStatus TracedLink::write(const QByteArray& bytes)
{
    const QString count =
        bytes.size() == 1 ? QStringLiteral("1 byte   ") : QStringLiteral("%1 bytes  ").arg(bytes.size());
    record(QStringLiteral("write"), count + hexDump(bytes));
    LinkStatus status = inner_.write(bytes);
    if (!status.ok())
        record(QStringLiteral("failed"), QStringLiteral("write: ") + status.reason);
    return status;
}

DsrLevel TracedLink::dsr()
{
    const DsrLevel level = inner_.dsr();
    recordDsr(level);
    return level;
}

DsrEvents TracedLink::dsrEvents()
{
    const DsrEvents events = inner_.dsrEvents();
    recordDsr(events.level);
    return events;
}

void TracedLink::waitForDsrChange(Pacer& pacer, quint64 since, double deadline, const StopToken& stop)
{
    inner_.waitForDsrChange(pacer, since, deadline, stop);
    recordWatch();
}

void TracedLink::recordDsr(DsrLevel level)
{
    if (static_cast<int>(level) != lastDsr_) {
        record(QStringLiteral("DSR"), level == DsrLevel::High  ? QStringLiteral("high")
                                      : level == DsrLevel::Low ? QStringLiteral("low")
                                                               : QStringLiteral("cannot be read"));
        lastDsr_ = static_cast<int>(level);
    }
}

void TracedLink::recordWatch()
{
    const bool events = inner_.reportsDsrChanges();
    if (static_cast<int>(events) == lastWatch_)
        return;
    record(QStringLiteral("DSR"),
           events ? QStringLiteral("watched: changes from the driver") : QStringLiteral("watched: polled"));
    lastWatch_ = events;
}
