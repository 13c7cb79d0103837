#include "gui/operation_runner.h"

#include "core/port_name.h"
#include "core/wire_trace.h"
#include "gui/outcome_box.h"
#include "gui/stopping_dialogs.h"
#include "sim/simulated_display.h"
#include "widgets/gui_dialogs.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

OperationRunner::OperationRunner(DeviceServices services, QObject* parent)
    : QObject(parent), services_(std::move(services))
{
    // The event loop may end (QCoreApplication::exit) while an operation runs, without a close.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &OperationRunner::shutDown);
}

OperationRunner::~OperationRunner()
{
    shutDown();
    waitForIdle();
}

void OperationRunner::shutDown()
{
    if (services_.windowDialogs)
        services_.windowDialogs->setClosing();
    requestStop();
}

bool OperationRunner::run(const PortSelection& selection, Operation operation, std::function<void()> whenDone)
{
    if (busy())
        return false;
    stop_ = false;
    cancelled_ = false;
    buttons_.setLocked(true);
    const DeviceServices services = services_;
    std::atomic_bool* stop = &stop_;
    thread_ = QThread::create([services, selection, operation, stop] {
        // A real port is made on this thread, which then owns it until the operation ends.
        std::unique_ptr<SerialLink> realLink;
        SerialLink* link = services.simulatedDisplay;
        if (!isSimulatedPort(selection.port) || !link) {
            realLink = services.makeRealLink();
            link = realLink.get();
        }
        TracedLink traced(*link, *services.pacer, services.trafficLog);
        StoppingDialogs dialogs(*services.dialogs, services.windowDialogs, *stop);
        DisplayAccess access(traced, *services.pacer, dialogs, selection, stop);
        showOutcome(dialogs, operation(access));
        if (traced.isOpen())
            traced.close();
    });
    // Owned by the runner as well: a window that closes right after the operation ends may never run
    // the deferred delete below, and the finished thread must not outlive the runner.
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, [this, whenDone] {
        thread_->deleteLater();
        thread_ = nullptr;
        buttons_.setLocked(false);
        if (whenDone)
            whenDone();
        emit operationFinished();
    });
    thread_->start();
    return true;
}

void OperationRunner::waitForIdle()
{
    if (thread_)
        thread_->wait();
}
