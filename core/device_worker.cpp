#include "core/device_worker.h"

#include "core/cross_thread_call.h"
#include "core/output_drain.h"
#include "core/pacer.h"
#include "core/serial_link.h"
#include "core/wire_trace.h"

#include <QThread>
#include <optional>

namespace {

// The pacer of a worker wired to an outside stop: every pause passes that stop on to the job in hand,
// so that a job which only looks at its own flag sees it at its next step.
class OutsideStopPacer : public Pacer
{
public:
    OutsideStopPacer(Pacer& inner, const std::atomic_bool& outside, std::atomic_bool& stop)
        : inner_(inner), outside_(outside), stop_(stop)
    {
    }
    double now() const override { return inner_.now(); }
    double timeOfDay() const override { return inner_.timeOfDay(); }
    void pump() override
    {
        inner_.pump();
        passOn();
    }
    void sleep(int milliseconds) override
    {
        inner_.sleep(milliseconds);
        passOn();
    }

private:
    void passOn()
    {
        if (outside_.load())
            stop_ = true;
    }

    Pacer& inner_;
    const std::atomic_bool& outside_;
    std::atomic_bool& stop_;
};

} // namespace

DeviceWorker::DeviceWorker(std::unique_ptr<SerialLink> link, Pacer& pacer, DeviceWiring wiring,
                           QObject* parent)
    : QObject(parent), link_(std::move(link)), pacer_(pacer), wiring_(std::move(wiring))
{
    thread_ = QThread::create([this] { serve(); });
    thread_->setObjectName(QStringLiteral("device worker"));
    thread_->start();
}

DeviceWorker::~DeviceWorker()
{
    requestStop();
    {
        QMutexLocker lock(&mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_->wait();
    // The worker's last step on this object is under the mutex. Taking it once more shows the thread
    // sanitizer that the thread has ended, which QThread::wait() does inside Qt, out of its sight.
    QMutexLocker lock(&mutex_);
    delete thread_;
}

void DeviceWorker::post(Job job, std::function<void()> done)
{
    // Jobs come from the owner's thread only: the count of jobs in flight and the busy signal are its.
    Q_ASSERT_X(QThread::currentThread() == thread(), "DeviceWorker::post", "called from another thread");
    if (inFlight_++ == 0)
        emit busyChanged(true);
    {
        QMutexLocker lock(&mutex_);
        queue_.push_back({++lastPosted_, std::move(job), std::move(done)});
    }
    wake_.notify_one();
}

void DeviceWorker::requestStop()
{
    QMutexLocker lock(&mutex_);
    stopThrough_ = lastPosted_;
    stop_ = true;
}

void DeviceWorker::waitForIdle()
{
    QMutexLocker lock(&mutex_);
    while (running_ || !queue_.empty())
        idle_.wait(mutex_);
}

void DeviceWorker::finished(const std::function<void()>& done)
{
    if (--inFlight_ == 0)
        emit busyChanged(false);
    if (done)
        done();
}

void DeviceWorker::serve()
{
    TracedLink link(*link_, pacer_, wiring_.trafficLog, wiring_.traceLabel);
    std::optional<OutsideStopPacer> outsidePacer;
    if (wiring_.outsideStop)
        outsidePacer.emplace(pacer_, *wiring_.outsideStop, stop_);
    Pacer& jobPacer = outsidePacer ? *outsidePacer : pacer_;
    for (;;) {
        Queued next;
        {
            QMutexLocker lock(&mutex_);
            while (queue_.empty() && !quit_)
                wake_.wait(mutex_);
            // Jobs still queued at the end are dropped: the program is going, nobody waits for them.
            if (quit_)
                break;
            next = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
            stop_ = next.id <= stopThrough_ || (wiring_.outsideStop && wiring_.outsideStop->load());
        }
        runJob(link, jobPacer, next);
        QMutexLocker lock(&mutex_);
        running_ = false;
        idle_.notify_all();
    }
    if (link.isOpen()) {
        waitForOutputToLeave(link, pacer_, kDrainLimitSeconds);
        link.close();
    }
    QMutexLocker lock(&mutex_);
    queue_.clear();
    idle_.notify_all();
}

void DeviceWorker::runJob(TracedLink& link, Pacer& pacer, Queued& queued)
{
    DevicePort port(link, pacer, stop_);
    queued.job(port);
    if (!port.keepsOpen() && link.isOpen()) {
        waitForOutputToLeave(link, pacer_, kDrainLimitSeconds);
        link.close();
    }
    invokeAcrossThreads(
        this, [this, done = std::move(queued.done)] { finished(done); }, Qt::QueuedConnection);
}
