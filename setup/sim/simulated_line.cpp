#include "setup/sim/simulated_line.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kNever = 1e18; // the end of bytes on a stuck line

// Bits on the line for one character: start, data, parity, stop (1.5 stop bits count as 2).
int bitsPerCharacter(const LineSettings& line)
{
    const int parity = line.parity == LineSettings::Parity::None ? 0 : 1;
    const int stop = line.stopBits == LineSettings::StopBits::One ? 1 : 2;
    return 1 + line.dataBits + parity + stop;
}

} // namespace

LinkStatus SimulatedLine::open(double now)
{
    if (faults_.portMissing)
        return LinkStatus::failure(LinkFailure::PortMissing, QStringLiteral("No such file or directory"));
    if (faults_.portBusy)
        return LinkStatus::failure(LinkFailure::PortBusy, QStringLiteral("Device or resource busy"));
    if (open_)
        return LinkStatus::failure(LinkFailure::PortOpenHere, QStringLiteral("The port is already open"));
    open_ = true;
    vanished_ = false;
    openedAt_ = now;
    return LinkStatus::success();
}

void SimulatedLine::close()
{
    open_ = false;
    inFlight_.clear();
}

LinkStatus SimulatedLine::refuseWrite()
{
    if (!open_)
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("The port is not open"));
    if (faults_.vanishAfterWrites >= 0 && writeCount_ >= faults_.vanishAfterWrites)
        vanished_ = true;
    if (vanished_)
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("The device was removed"));
    if (++writeAttempts_ == faults_.failWrite)
        return LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("Input/output error"));
    return LinkStatus::success();
}

void SimulatedLine::send(double now, const QByteArray& bytes)
{
    writes_.append({now, settings_.toText(), bytes});
    ++writeCount_;
    keptBytes_ += bytes.size();
    // The oldest go first; the newest write stays, however long.
    while (writes_.size() > 1 && (writes_.size() > kKeptWrites || keptBytes_ > kKeptBytes))
        keptBytes_ -= writes_.takeFirst().bytes.size();
    if (faults_.outputNeverDrains) {
        inFlight_.append({now, kNever, settings_, bytes});
        return;
    }
    const double start = inFlight_.isEmpty() ? now : std::max(now, inFlight_.last().end);
    const double duration = bytes.size() * bitsPerCharacter(settings_) / double(settings_.baud);
    inFlight_.append({start, start + duration, settings_, bytes});
}

qint64 SimulatedLine::bytesToWrite(double now) const
{
    qint64 pending = 0;
    for (const Chunk& chunk : inFlight_) {
        if (chunk.start >= now || chunk.end >= kNever) {
            pending += chunk.bytes.size();
        } else {
            const double left = (chunk.end - now) / (chunk.end - chunk.start);
            pending += static_cast<qint64>(std::ceil(left * chunk.bytes.size()));
        }
    }
    return pending;
}

void SimulatedLine::deliver(double now, const Arrival& arrive)
{
    while (!inFlight_.isEmpty() && inFlight_.first().end <= now) {
        const Chunk chunk = inFlight_.takeFirst();
        if (!faults_.absent)
            arrive(chunk.end, chunk.settings, chunk.bytes);
    }
}

double SimulatedLine::dsrReachesAt() const
{
    return openedAt_ + faults_.dsrDelay;
}

bool SimulatedLine::carriesDsr(double t) const
{
    return !vanished_ && !faults_.absent && t >= openedAt_ + faults_.dsrDelay;
}
