#include "core/device_worker.h"

#include "core/cross_thread_call.h"
#include "core/output_drain.h"
#include "core/pacer.h"
#include "core/serial_link.h"
#include "core/wire_trace.h"

#include <QThread>

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
        queue_.push_back({std::move(job), std::move(done), StopSource(wiring_.stopSignal)});
    }
    wake_.notify_one();
}

void DeviceWorker::requestStop()
{
    QMutexLocker lock(&mutex_);
    inHand_.requestStop();
    for (Queued& queued : queue_)
        queued.stop.requestStop();
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
            inHand_ = next.stop;
        }
        runJob(link, next);
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

void DeviceWorker::runJob(TracedLink& link, Queued& queued)
{
    DevicePort port(link, pacer_, queued.stop.token());
    queued.job(port);
    // A stopped job still leaves the port drained and closed: the close does not look at the stop.
    if (!port.keepsOpen() && link.isOpen()) {
        waitForOutputToLeave(link, pacer_, kDrainLimitSeconds);
        link.close();
    }
    invokeAcrossThreads(
        this, [this, done = std::move(queued.done)] { finished(done); }, Qt::QueuedConnection);
}
