#include "setup/gui/operation_runner.h"

#include "setup/gui/stopping_dialogs.h"
#include "setup/messages/outcome_box.h"
#include "setup/protocol/display_wiring.h"
#include "setup/sim/simulated_display.h"
#include "widgets/gui_dialogs.h"

#include <QCoreApplication>
#include <QWidget> // the device buttons it holds

OperationRunner::OperationRunner(DeviceServices services, QObject* parent)
    : QObject(parent), services_(std::move(services)),
      worker_(
          makeDisplayWorker(services_.simulatedPort ? services_.simulatedPort
                                                    : static_cast<SerialLink*>(services_.simulatedDisplay),
                            services_.makeRealLink, *services_.pacer, {.trafficLog = services_.trafficLog}))
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

bool OperationRunner::busy() const
{
    return worker_->busy();
}

void OperationRunner::requestStop()
{
    worker_->requestStop();
}

void OperationRunner::waitForIdle()
{
    worker_->waitForIdle();
}

bool OperationRunner::run(const PortSelection& selection, Operation operation, std::function<void()> whenDone)
{
    if (busy())
        return false;
    cancelled_ = false;
    buttons_.setLocked(true);
    const auto job = [services = services_, selection, operation = std::move(operation)](DevicePort& port) {
        StoppingDialogs dialogs(*services.dialogs, services.windowDialogs, port.stopFlag());
        DisplayAccess access = displayAccess(port, dialogs, selection);
        showOutcome(dialogs, operation(access));
    };
    worker_->post(job, [this, whenDone = std::move(whenDone)] {
        buttons_.setLocked(false);
        if (whenDone)
            whenDone();
        emit operationFinished();
    });
    return true;
}
