#include "demo/link/port_job_runner.h"

#include "demo/link/port_job.h"
#include "demo/model/modelled_link.h"
#include "demo/model/pacer_time.h"

#include "core/device_worker.h"
#include "core/output_drain.h"
#include "core/pacer.h"
#include "core/serial_link.h"
#include "core/traffic_log.h"
#include "core/wire_trace.h"

namespace {

// How long a pause sleeps before it looks again whether the program is ending.
constexpr int kPauseSliceMs = 50;

} // namespace

PortJobRunner::PortJobRunner(DevicePort& port, ModelledLink* simulated,
                             const std::function<void(int)>& pauseWatcher)
    : port_(port), simulated_(simulated), pauseWatcher_(pauseWatcher)
{
    // A job without an opening step is on the port its window opened before.
    result_.portText = port_.link().portName();
}

JobResult PortJobRunner::run(const PortJob& job)
{
    SerialLink& link = port_.link();
    for (const PortStep& step : job.steps()) {
        if (port_.stopRequested()) {
            result_.stopped = true;
            break;
        }
        bool done = true;
        switch (step.kind) {
        case PortStep::Open:
            done = open(step);
            break;
        case PortStep::Write:
            done = write(step.bytes);
            break;
        case PortStep::Text:
            // The window port has turned every text into bytes before it posted the job.
            break;
        case PortStep::Pause:
            done = pause(step.ms);
            break;
        case PortStep::Close:
            if (link.isOpen())
                link.close();
            break;
        }
        if (!done)
            break;
    }
    // The worker would let the bytes of a failed port leave first: a failed job closes at once.
    if (result_.portFailed() && link.isOpen())
        link.close();
    else
        port_.keepOpen();
    return result_;
}

bool PortJobRunner::fail(JobResult::Step step, const LinkStatus& status)
{
    result_.failedStep = step;
    result_.status = status;
    return false;
}

bool PortJobRunner::open(const PortStep& step)
{
    SerialLink& link = port_.link();
    result_.portText = step.portText;
    if (link.isOpen())
        return fail(JobResult::Step::Open, LinkStatus::failure(LinkFailure::PortOpenHere,
                                                               QStringLiteral("The port is already open.")));
    link.setPortName(step.portText);
    if (simulated_ != nullptr)
        simulated_->setDisplayModel(step.model);
    if (const LinkStatus status = link.setSettings(step.settings); !status.ok())
        return fail(JobResult::Step::Settings, status);
    if (const LinkStatus status = link.open(); !status.ok())
        return fail(JobResult::Step::Open, status);
    // Once more on the open port, where they take effect at once: a port that does not take them
    // (some adapters and pseudo-terminals keep eight data bits whatever is asked) is closed again
    // rather than left open with other settings than the person chose.
    if (const LinkStatus status = link.setSettings(step.settings); !status.ok())
        return fail(JobResult::Step::Settings, status);
    return true;
}

bool PortJobRunner::write(const QByteArray& bytes)
{
    SerialLink& link = port_.link();
    Pacer& pacer = port_.pacer();
    const double start = pacer.now();
    const qint64 limitMs = 1000 + bytes.size() * 10000LL / qMax(link.settings().baud, 1);
    if (const LinkStatus status = link.write(bytes); !status.ok())
        return fail(JobResult::Step::Write, status);
    // Done once the bytes have left, so that a close right after never drops them and a stuck line is
    // told rather than ignored. The wait gives up once more than its limit has passed: half a
    // millisecond short of `limitMs` makes that `limitMs` itself on a clock of whole milliseconds.
    const double left = (double(limitMs) - 0.5) / 1000.0 - (pacer.now() - start);
    const DrainResult drained = waitForOutputToLeave(link, pacer, left, port_.stopToken());
    if (drained == DrainResult::Halted) {
        result_.stopped = true;
        return false;
    }
    if (drained == DrainResult::TimedOut)
        return fail(JobResult::Step::Write,
                    LinkStatus::failure(LinkFailure::WriteFailed, QStringLiteral("The line did not take "
                                                                                 "the bytes in time.")));
    return true;
}

bool PortJobRunner::pause(int ms)
{
    Pacer& pacer = port_.pacer();
    qCDebug(lcWire).noquote() << TrafficLog::clock(pacer.timeOfDay())
                              << QStringLiteral("pause").leftJustified(9) << QStringLiteral("%1 ms").arg(ms);
    if (pauseWatcher_)
        pauseWatcher_(ms);
    const qint64 start = pacerMs(pacer);
    for (;;) {
        if (port_.stopRequested()) {
            result_.stopped = true;
            return false;
        }
        const qint64 left = ms - (pacerMs(pacer) - start);
        if (left <= 0)
            return true;
        pacer.sleep(int(qMin<qint64>(left, kPauseSliceMs)));
    }
}
