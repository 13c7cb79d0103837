#include "setup/gui/operation_runner.h"

#include "core/device_worker.h"
#include "setup/messages/catalogue_dialogs.h"
#include "setup/messages/outcome_box.h"
#include "setup/protocol/display_wiring.h"
#include "setup/sim/simulated_display.h"
#include "widgets/gui_dialogs.h"

#include <QCoreApplication>
#include <QWidget> // the device buttons it holds

namespace {

// What an operation on the worker thread may ask of the person: the notices the protocol waits on
// between two writes, as boxes of the window's dialogs. Nothing else crosses from the worker: no
// input, no file choice (those are asked for on the GUI thread before the operation starts).
class NoticeDialogs : public CatalogueDialogs
{
public:
    explicit NoticeDialogs(Dialogs& window) : window_(window) {}

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        window_.message(icon, title, text, detail);
    }
    QString input(const QString&, const QString&, const QString&, bool* accepted = nullptr) override
    {
        if (accepted)
            *accepted = false;
        return {};
    }
    QString openFile(const QString&) override { return {}; }

private:
    Dialogs& window_;
};

} // namespace

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
    // ... and it may end under a box the operation waits for: the operation stops before it goes on.
    if (services_.windowDialogs)
        services_.windowDialogs->setWhenClosing([this] { requestStop(); });
}

OperationRunner::~OperationRunner()
{
    shutDown();
    if (services_.windowDialogs)
        services_.windowDialogs->setWhenClosing({});
    waitForIdle();
}

void OperationRunner::shutDown()
{
    requestStop();
    if (services_.windowDialogs)
        services_.windowDialogs->setClosing();
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

bool OperationRunner::run(const PortSelection& selection, Operation operation, WhenDone whenDone)
{
    if (busy())
        return false;
    cancelled_ = false;
    buttons_.setLocked(true);
    std::function<Outcome(DevicePort&)> job = [dialogs = services_.dialogs, selection,
                                               operation = std::move(operation)](DevicePort& port) {
        NoticeDialogs notices(*dialogs);
        DisplayAccess access = displayAccess(port, notices, selection);
        return operation(access);
    };
    worker_->post<Outcome>(std::move(job), [this, whenDone = std::move(whenDone)](const Outcome& outcome) {
        if (whenDone)
            whenDone(outcome);
        showOutcome(*services_.dialogs, outcome);
        buttons_.setLocked(false);
        emit operationFinished();
    });
    return true;
}
