#pragma once

#include "link/port_job.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class Pacer;
class QThread;
class SerialLink;

// How a job ended.
struct PortOutcome
{
    // The step that failed: the settings text or the settings themselves, the open, or a write.
    enum Failure { None, Settings, Open, Write };

    Failure failure = None;
    int linkNumber = 0;   // the link's failure number (core/link_status.h)
    QString reason;       // the system's own words, or why the settings were refused
    QString portText;     // the port the job was on
    bool stopped = false; // the program is ending: the job was given up at a step

    bool ok() const { return failure == None && !stopped; }
};

// The one thread that reaches the port. It owns the link (made on it: a real port's handle belongs to
// the thread that opened it) and runs one job at a time, in the order they were posted, so the GUI
// thread never writes, waits or pauses. A write is done once its bytes have left the computer: the line
// time at the rate (ten bits a character) and one second more are allowed for that, then it fails.
// Destroying the worker stops the job in hand at its next step (a pause is cut short) and closes the
// port.
class PortWorker : public QObject
{
    Q_OBJECT
public:
    PortWorker(std::unique_ptr<SerialLink> link, Pacer& pacer, QObject* parent = nullptr);
    ~PortWorker() override;
    PortWorker(const PortWorker&) = delete;
    PortWorker& operator=(const PortWorker&) = delete;

    using Done = std::function<void(const PortOutcome&)>;
    // Queues the job; `done` runs on the GUI thread once it has ended.
    void post(PortJob job, Done done);
    // True from a post until the `done` of every job posted has been called.
    bool busy() const { return inFlight_ > 0; }

    // Called on the worker thread as each pause begins, with its length (for tests, which record the
    // pause or hold it there to look at the windows).
    void setPauseWatcher(std::function<void(int ms)> watcher);

signals:
    void busyChanged(bool busy);

private:
    struct Queued
    {
        quint64 id;
        PortJob job;
    };

    // Worker thread.
    void serve();
    PortOutcome execute(SerialLink& link, const PortJob& job);
    bool open(SerialLink& link, const PortStep& step, PortOutcome& outcome);
    bool write(SerialLink& link, const QByteArray& bytes, PortOutcome& outcome);
    bool pause(int ms);
    // GUI thread.
    void finished(quint64 id, const PortOutcome& outcome);

    std::unique_ptr<SerialLink> link_;
    Pacer& pacer_;
    QThread* thread_ = nullptr;

    QMutex mutex_; // guards queue_, quit_ and pauseWatcher_
    QWaitCondition wake_;
    std::deque<Queued> queue_;
    bool quit_ = false;
    std::function<void(int)> pauseWatcher_;
    std::atomic_bool stop_ = false;

    // Worker thread only: the port of the last open and its rate.
    QString portText_;
    qint32 baud_ = 9600;

    // GUI thread only.
    quint64 lastId_ = 0;
    QHash<quint64, Done> done_;
    int inFlight_ = 0;
};
