#pragma once

#include "core/stop_token.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class Pacer;
class QThread;
class SerialLink;
class TrafficLog;
class TracedLink;

// The port as a job sees it on the worker thread: the traced link, the pacer every wait and pause goes
// through, and the job's stop token, which its waits and steps look at.
class DevicePort
{
public:
    DevicePort(SerialLink& link, Pacer& pacer, StopToken stop)
        : link_(link), pacer_(pacer), stop_(std::move(stop))
    {
    }

    SerialLink& link() { return link_; }
    Pacer& pacer() { return pacer_; }
    // Requested once the job should stop at its next step (the person cancelled, the window is closing,
    // a signal came, the worker is ending).
    const StopToken& stopToken() const { return stop_; }
    bool stopRequested() const { return stop_.stopRequested(); }
    // Keeps the port open after this job, for the next job of the same conversation. By default a job
    // that ends leaves the port drained and closed.
    void keepOpen() { keepOpen_ = true; }
    bool keepsOpen() const { return keepOpen_; }

private:
    SerialLink& link_;
    Pacer& pacer_;
    StopToken stop_;
    bool keepOpen_ = false;
};

// What the worker is wired to: the wire trace (always), the window's traffic view (when given), the
// label that starts each trace line (a fleet's port name; empty for one port), and the flag that a
// signal handler raises (vfdctl's SIGINT and SIGTERM), where no lock may be taken: every job's stop
// token hears it as a stop request. It is never lowered.
struct DeviceWiring
{
    TrafficLog* trafficLog = nullptr;
    QString traceLabel = {};
    const std::atomic_bool* stopSignal = nullptr;
};

// The one thread that owns a port. It holds one link and the pacer its waits go through, runs the jobs
// posted to it one at a time in the order they came, and hands each result back on the thread that made
// the worker (which needs an event loop for that). Each job carries a stop token of its own: a stop
// request ends the job in hand at its next step, and every job posted before it sees the request too;
// jobs posted later start afresh. When a job ends
// (unless it kept the port open for the next one), and when the worker ends, what was written is let
// leave the port and the port is closed.
class DeviceWorker : public QObject
{
    Q_OBJECT
public:
    // How long the close at the end of a job or of the worker waits for written bytes to leave.
    static constexpr double kDrainLimitSeconds = 2.0;

    // `link` is used only on the worker thread from now on; `pacer` must outlive the worker.
    DeviceWorker(std::unique_ptr<SerialLink> link, Pacer& pacer, DeviceWiring wiring = {},
                 QObject* parent = nullptr);
    // Stops the job in hand, lets the queued ones see the stop, and waits for the thread to end.
    ~DeviceWorker() override;
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    using Job = std::function<void(DevicePort&)>;
    // Queues `job`; `done` (when given) runs on the worker's home thread once the job has ended.
    void post(Job job, std::function<void()> done = {});
    // Queues a job that gives a result; `done` receives it on the worker's home thread.
    template <typename Result>
    void post(std::function<Result(DevicePort&)> job, std::function<void(const Result&)> done)
    {
        auto result = std::make_shared<std::optional<Result>>();
        post([job = std::move(job), result](DevicePort& port) { result->emplace(job(port)); },
             [done = std::move(done), result] {
                 if (done && result->has_value())
                     done(**result);
             });
    }

    // Asks the job in hand, and every job already queued, to stop at its next step.
    void requestStop();
    // True from a post until the `done` of every job posted so far has run.
    bool busy() const { return inFlight_ > 0; }
    // Blocks (processing no events) until every job posted so far has ended on the worker thread. Their
    // `done` calls are still to come from the event loop. For a front end without windows, and shutdown.
    void waitForIdle();

signals:
    void busyChanged(bool busy);

private:
    struct Queued
    {
        Job job;
        std::function<void()> done;
        StopSource stop;
    };

    void serve(); // worker thread
    void runJob(TracedLink& link, Queued& queued);
    void finished(const std::function<void()>& done); // home thread

    std::unique_ptr<SerialLink> link_;
    Pacer& pacer_;
    DeviceWiring wiring_;
    QThread* thread_ = nullptr;

    QMutex mutex_; // guards queue_, quit_, running_, inHand_
    // Standard condition variables, not QWaitCondition: its wait releases and retakes the mutex inside
    // Qt's library, where the thread sanitizer (with Qt built without it) cannot see it.
    std::condition_variable_any wake_;
    std::condition_variable_any idle_;
    std::deque<Queued> queue_;
    bool quit_ = false;
    bool running_ = false;
    StopSource inHand_; // the stop source of the job in hand (or of the last one)

    int inFlight_ = 0; // home thread only
};
