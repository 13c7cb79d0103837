#include "link/port_worker.h"

#include "model/modelled_link.h"
#include "model/pacer_time.h"

#include "core/line_settings.h"
#include "core/pacer.h"
#include "core/port_name.h"
#include "core/serial_link.h"
#include "core/traffic_log.h"
#include "core/wire_trace.h"

#include <QThread>

namespace {

// How long a pause sleeps before it looks again whether the program is ending.
constexpr int PauseSliceMs = 50;

} // namespace

PortWorker::PortWorker(std::unique_ptr<SerialLink> link, Pacer& pacer, QObject* parent)
    : QObject(parent), link_(std::move(link)), pacer_(pacer)
{
    thread_ = QThread::create([this] { serve(); });
    thread_->setObjectName(QStringLiteral("port worker"));
    thread_->start();
}

PortWorker::~PortWorker()
{
    stop_ = true;
    {
        QMutexLocker lock(&mutex_);
        quit_ = true;
    }
    wake_.wakeAll();
    thread_->wait();
    delete thread_;
}

void PortWorker::post(PortJob job, Done done)
{
    const quint64 id = ++lastId_;
    done_.insert(id, std::move(done));
    if (inFlight_++ == 0) {
        emit busyChanged(true);
    }
    {
        QMutexLocker lock(&mutex_);
        queue_.push_back({id, std::move(job)});
    }
    wake_.wakeOne();
}

void PortWorker::setPauseWatcher(std::function<void(int)> watcher)
{
    QMutexLocker lock(&mutex_);
    pauseWatcher_ = std::move(watcher);
}

void PortWorker::finished(quint64 id, const PortOutcome& outcome)
{
    const Done done = done_.take(id);
    if (--inFlight_ == 0) {
        emit busyChanged(false);
    }
    if (done) {
        done(outcome);
    }
}

void PortWorker::serve()
{
    // Every open, write, close and settings change goes to the wire trace (talvex.wire).
    TracedLink link(*link_, pacer_);
    for (;;) {
        Queued next;
        {
            QMutexLocker lock(&mutex_);
            while (queue_.empty() && !quit_) {
                wake_.wait(&mutex_);
            }
            if (quit_) {
                break;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        const PortOutcome outcome = execute(link, next.job);
        QMetaObject::invokeMethod(
            this, [this, id = next.id, outcome] { finished(id, outcome); }, Qt::QueuedConnection);
    }
    if (link.isOpen()) {
        link.close();
    }
}

PortOutcome PortWorker::execute(SerialLink& link, const PortJob& job)
{
    PortOutcome outcome;
    outcome.portText = portText_;
    for (const PortStep& step : job.steps()) {
        if (stop_) {
            outcome.stopped = true;
            break;
        }
        bool done = true;
        switch (step.kind) {
        case PortStep::Open:
            done = open(link, step, outcome);
            break;
        case PortStep::Write:
            done = write(link, step.bytes, outcome);
            break;
        case PortStep::Text:
            // The session has turned every text into bytes before it posted the job.
            break;
        case PortStep::Pause:
            done = pause(step.ms);
            outcome.stopped = !done;
            break;
        case PortStep::Close:
            if (link.isOpen()) {
                link.close();
            }
            break;
        }
        if (!done) {
            break;
        }
    }
    // A job that failed or was given up leaves the port closed.
    if (!outcome.ok() && link.isOpen()) {
        link.close();
    }
    return outcome;
}

bool PortWorker::open(SerialLink& link, const PortStep& step, PortOutcome& outcome)
{
    portText_ = outcome.portText = step.portText;
    const auto fail = [&outcome](PortOutcome::Failure failure, int number, const QString& reason) {
        outcome.failure = failure;
        outcome.linkNumber = number;
        outcome.reason = reason;
        return false;
    };
    if (link.isOpen()) {
        return fail(PortOutcome::Open, LinkError::PortInUse, QStringLiteral("The port is already open."));
    }
    // The settings stay the text the person typed until here, where they meet the port.
    const std::optional<LineSettings> line = LineSettings::parse(step.settingsText);
    if (!line) {
        return fail(PortOutcome::Settings, LinkError::OpenFailed,
                    isSimulatedPort(step.portText)
                        ? QStringLiteral("The line settings cannot be applied.")
                        : QStringLiteral("The line settings \"%1\" are not valid.").arg(step.settingsText));
    }
    link.setPortName(step.portText);
    if (auto* modelled = dynamic_cast<ModelledLink*>(link_.get())) {
        modelled->setDisplayModel(step.model);
    }
    LinkStatus status = link.setSettings(*line);
    if (!status.ok()) {
        return fail(PortOutcome::Settings, status.number, status.reason);
    }
    status = link.open();
    if (!status.ok()) {
        return fail(PortOutcome::Open, status.number, status.reason);
    }
    // Once more on the open port, where they take effect at once: a port that does not take them
    // (some adapters and pseudo-terminals keep eight data bits whatever is asked) is closed again
    // rather than left open with other settings than the person chose.
    status = link.setSettings(*line);
    if (!status.ok()) {
        return fail(PortOutcome::Settings, status.number, status.reason);
    }
    baud_ = line->baud;
    return true;
}

bool PortWorker::write(SerialLink& link, const QByteArray& bytes, PortOutcome& outcome)
{
    const qint64 limitMs = 1000 + bytes.size() * 10000LL / qMax(baud_, 1);
    const qint64 start = pacerMs(pacer_);
    LinkStatus status = link.write(bytes);
    // Done once the bytes have left, so that a close right after never drops them and a stuck line
    // is told rather than ignored.
    while (status.ok() && link.bytesToWrite() > 0 && !stop_) {
        if (pacerMs(pacer_) - start >= limitMs) {
            status = LinkStatus::failure(LinkError::WriteFailed,
                                         QStringLiteral("The line did not take the bytes in time."));
            break;
        }
        pacer_.pump();
    }
    if (!status.ok()) {
        outcome.failure = PortOutcome::Write;
        outcome.linkNumber = status.number;
        outcome.reason = status.reason;
        return false;
    }
    return true;
}

bool PortWorker::pause(int ms)
{
    std::function<void(int)> watcher;
    {
        QMutexLocker lock(&mutex_);
        watcher = pauseWatcher_;
    }
    qCDebug(lcWire).noquote() << TrafficLog::clock(pacer_.timeOfDay())
                              << QStringLiteral("pause").leftJustified(9) << QStringLiteral("%1 ms").arg(ms);
    if (watcher) {
        watcher(ms);
    }
    const qint64 start = pacerMs(pacer_);
    for (;;) {
        if (stop_) {
            return false;
        }
        const qint64 left = ms - (pacerMs(pacer_) - start);
        if (left <= 0) {
            return true;
        }
        pacer_.sleep(static_cast<int>(qMin<qint64>(left, PauseSliceMs)));
    }
}
