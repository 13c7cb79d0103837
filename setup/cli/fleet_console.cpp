#include "setup/cli/fleet_console.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int kLiveLineWidth = 79; // a longer line would wrap and break the block
}

FleetConsole::FleetConsole(const QStringList& ports, const QString& step, QTextStream& out, QTextStream& err,
                           bool terminal)
    : ports_(ports), out_(out), err_(err), terminal_(terminal)
{
    for (const QString& port : ports)
        width_ = std::max(width_, static_cast<int>(port.size()));
    for (qsizetype i = 0; i < ports.size(); ++i)
        live_ << step;
}

void FleetConsole::print(int port, bool error, const QString& line, bool complete)
{
    QMutexLocker lock(&mutex_);
    const QString prefixed = ports_.at(port) + QStringLiteral(": ") + line;
    if (!terminal_) {
        if (complete)
            (error ? err_ : out_) << prefixed << Qt::endl;
        return;
    }
    // A failure line goes out at once, above the block: what a port has told must reach the terminal
    // even when a second signal ends the program before the run does.
    if (error && complete) {
        if (drawn_)
            out_ << "\x1b[" << static_cast<int>(ports_.size()) << "A\x1b[J" << Qt::flush;
        drawn_ = false;
        err_ << prefixed << Qt::endl;
    }
    if (!line.trimmed().isEmpty())
        live_[port] = line.trimmed();
    redrawLocked();
}

void FleetConsole::redrawLocked()
{
    if (drawn_)
        out_ << "\x1b[" << static_cast<int>(ports_.size()) << "A";
    for (qsizetype i = 0; i < ports_.size(); ++i)
        out_ << "\r\x1b[2K"
             << (ports_.at(i).leftJustified(width_) + QStringLiteral("  ") + live_.at(i)).left(kLiveLineWidth)
             << '\n';
    out_.flush();
    drawn_ = true;
}

PortOutputDevice::PortOutputDevice(FleetConsole& console, int port, bool error)
    : console_(console), port_(port), error_(error)
{
    open(QIODevice::WriteOnly);
}

qint64 PortOutputDevice::writeData(const char* data, qint64 size)
{
    pending_.append(data, size);
    for (;;) {
        const qsizetype end =
            std::min<qsizetype>(pending_.indexOf('\n') < 0 ? pending_.size() : pending_.indexOf('\n'),
                                pending_.indexOf('\r') < 0 ? pending_.size() : pending_.indexOf('\r'));
        if (end >= pending_.size())
            break;
        const QString line = QString::fromUtf8(pending_.left(end));
        // A carriage return starts the line again (the firmware's progress bar); it ends none.
        if (pending_.at(end) == '\n' || !line.isEmpty())
            console_.print(port_, error_, line);
        pending_.remove(0, end + 1);
    }
    if (!pending_.isEmpty())
        console_.print(port_, error_, QString::fromUtf8(pending_), false);
    return size;
}
