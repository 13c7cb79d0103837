#include "emu/virtual_display.h"

#include "emu/line_resampler.h"

#include "core/pacer.h"
#include "core/traffic_log.h"
#include "core/wire_trace.h"

#include <QDebug>

VirtualDisplay::VirtualDisplay(const Pacer& clock, DisplayProduct model, const LineSettings& settings)
    : clock_(clock), emulator_(clock), model_(model), settings_(settings)
{
    emulator_.claimLine();
    emulator_.connectLine(model, settings);
    connect(&emulator_, &CustomerDisplayEmulator::changed, this, &VirtualDisplay::changed);
}

void VirtualDisplay::receive(const QByteArray& bytes, const LineSettings& sentAt)
{
    bytesReceived_ += bytes.size();
    noteSender(sentAt);
    if (lcWire().isDebugEnabled()) {
        const QString count =
            bytes.size() == 1 ? QStringLiteral("1 byte   ") : QStringLiteral("%1 bytes  ").arg(bytes.size());
        qCDebug(lcWire).noquote() << TrafficLog::clock(clock_.timeOfDay()) << "received "
                                  << count + hexDump(bytes);
    }
    emulator_.write(resampleLine(bytes, sentAt, settings_));
    traceNotUnderstood();
}

void VirtualDisplay::noteSender(const LineSettings& sentAt)
{
    if (sender_ == sentAt)
        return;
    const bool wasGarbled = sender_.has_value() && *sender_ != settings_;
    sender_ = sentAt;
    const QString sent = sentAt.baud > 0 ? sentAt.toText() : QStringLiteral("an unknown speed");
    if (sentAt != settings_) {
        qWarning().noquote() << QStringLiteral("vfdemu: bytes arrive at %1 but the display listens at %2: it "
                                               "shows garbage")
                                    .arg(sent, settings_.toText());
    } else if (wasGarbled) {
        qWarning().noquote()
            << QStringLiteral("vfdemu: bytes arrive at %1 again, as the display listens").arg(sent);
    }
}

void VirtualDisplay::traceNotUnderstood()
{
    const SimLog& log = emulator_.log();
    const int fresh = log.total() - traced_;
    traced_ = log.total();
    if (fresh <= 0 || !lcWire().isDebugEnabled())
        return;
    const QStringList& entries = log.entries();
    const QString time = TrafficLog::clock(clock_.timeOfDay());
    for (qsizetype i = std::max<qsizetype>(0, entries.size() - fresh); i < entries.size(); ++i)
        qCDebug(lcWire).noquote() << time << "unknown  " << entries.at(i);
}

std::optional<DisplayProduct> modelNamed(const QString& name)
{
    const QString key = name.toLower();
    if (key == QLatin1String("kd317"))
        return DisplayProduct::KD317;
    if (key == QLatin1String("kd426"))
        return DisplayProduct::KD426;
    if (key == QLatin1String("kd138"))
        return DisplayProduct::KD138;
    return std::nullopt;
}
