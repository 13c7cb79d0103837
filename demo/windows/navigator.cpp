#include "windows/navigator.h"

#include "link/demo_context.h"
#include "link/port_session.h"
#include "windows/code_table_window.h"
#include "windows/demo_window.h"
#include "windows/escpos_demo_window.h"
#include "windows/escpos_port_window.h"
#include "windows/four_line_demo_window.h"
#include "windows/four_line_port_window.h"
#include "windows/international_set_window.h"
#include "windows/launcher_window.h"
#include "windows/one_line_demo_window.h"
#include "windows/one_line_port_window.h"

#include "core/device_worker.h"

Navigator::Navigator(DemoContext& context) : context_(context)
{
    if (context_.portWorker != nullptr) {
        busyConnection_ = QObject::connect(
            context_.portWorker, &DeviceWorker::busyChanged, context_.portWorker, [this](bool busy) {
                if (auto* window = qobject_cast<DemoWindow*>(current_.data())) {
                    window->setBusy(busy);
                }
            });
    }
}

Navigator::~Navigator()
{
    QObject::disconnect(busyConnection_);
    delete current_.data();
}

bool Navigator::portBusy() const
{
    return context_.portWorker != nullptr && context_.portWorker->busy();
}

void Navigator::handOver(QWidget* next)
{
    QPointer<QWidget> previous = current_;
    current_ = next;
    next->show();
    if (auto* window = qobject_cast<DemoWindow*>(next)) {
        window->setBusy(portBusy());
    }
    if (previous && previous != next) {
        // Only the window shown is held busy.
        if (auto* window = qobject_cast<DemoWindow*>(previous.data())) {
            window->setBusy(false);
        }
        previous->close();
    }
}

void Navigator::startUp(DemoWindow* window, DemoModel model)
{
    const QPointer<DemoWindow> starting = window;
    window->startUp([this, starting, model](bool started) {
        if (starting == nullptr) {
            return;
        }
        if (!started) {
            starting->deleteLater();
            cannotOpen(model);
            return;
        }
        handOver(starting);
    });
}

void Navigator::showLauncher()
{
    handOver(new LauncherWindow(*this));
}

void Navigator::showPortSelection(DemoModel model)
{
    switch (model) {
    case DemoModel::KD317:
        handOver(new EscPosPortWindow(*this));
        break;
    case DemoModel::KD426:
        handOver(new FourLinePortWindow(*this));
        break;
    case DemoModel::KD138:
        handOver(new OneLinePortWindow(*this));
        break;
    }
}

void Navigator::cannotOpen(DemoModel model)
{
    // Already on a port selection: the person stays there and chooses again.
    if (qobject_cast<PortSelectionWindow*>(current_.data()) == nullptr) {
        showPortSelection(model);
    }
}

void Navigator::showEscPosDemo()
{
    context_.state.displayModel = DemoModel::KD317;
    startUp(new EscPosDemoWindow(*this), DemoModel::KD317);
}

void Navigator::showCodeTable()
{
    context_.state.displayModel = DemoModel::KD317;
    startUp(new CodeTableWindow(*this), DemoModel::KD317);
}

void Navigator::showInternationalSet()
{
    context_.state.displayModel = DemoModel::KD317;
    startUp(new InternationalSetWindow(*this), DemoModel::KD317);
}

void Navigator::showFourLineDemo()
{
    context_.state.displayModel = DemoModel::KD426;
    // The demonstration opens the port only around each press; trying it once here lets the person
    // pick another port at once instead of finding out at the first press.
    sharedPort().probe([this](bool opened) {
        if (opened) {
            handOver(new FourLineDemoWindow(*this));
        }
    });
}

void Navigator::showOneLineDemo()
{
    context_.state.displayModel = DemoModel::KD138;
    sharedPort().probe([this](bool opened) {
        if (opened) {
            handOver(new OneLineDemoWindow(*this));
        }
    });
}

void Navigator::endProgram()
{
    if (context_.endProgram) {
        context_.endProgram();
    }
}

PortSession& Navigator::sharedPort()
{
    loadSharedPort();
    return *sharedPort_;
}

void Navigator::loadSharedPort()
{
    if (!sharedPort_) {
        sharedPort_ = std::make_unique<PortSession>(context_);
    }
}

void Navigator::unloadSharedPort()
{
    sharedPort_.reset();
}
