#include "navigator.h"

#include "demo_context.h"
#include "port_form.h"
#include "port_worker.h"
#include "windows/character.h"
#include "windows/demo_window.h"
#include "windows/epson.h"
#include "windows/internation.h"
#include "windows/kd138.h"
#include "windows/kd426.h"
#include "windows/rs_232.h"
#include "windows/rs_232_kd138.h"
#include "windows/rs_232_kd426.h"
#include "windows/talvex_main.h"

Navigator::Navigator(DemoContext& context) : context_(context)
{
    if (context_.portWorker != nullptr) {
        busyConnection_ = QObject::connect(
            context_.portWorker, &PortWorker::busyChanged, context_.portWorker, [this](bool busy) {
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
    handOver(new talvex_main(*this));
}

void Navigator::showPortSelection(DemoModel model)
{
    switch (model) {
    case DemoModel::KD317:
        handOver(new RS_232(*this));
        break;
    case DemoModel::KD426:
        handOver(new RS_232_KD426(*this));
        break;
    case DemoModel::KD138:
        handOver(new RS_232_KD138(*this));
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

void Navigator::showEpson()
{
    context_.state.DemoDisplayModel = DemoModel::KD317;
    startUp(new epson(*this), DemoModel::KD317);
}

void Navigator::showCharacter()
{
    context_.state.DemoDisplayModel = DemoModel::KD317;
    startUp(new CHARACTER(*this), DemoModel::KD317);
}

void Navigator::showInternation()
{
    context_.state.DemoDisplayModel = DemoModel::KD317;
    startUp(new internation(*this), DemoModel::KD317);
}

void Navigator::showKd426()
{
    context_.state.DemoDisplayModel = DemoModel::KD426;
    // The demonstration opens the port only around each press; trying it once here lets the person
    // pick another port at once instead of finding out at the first press.
    portForm().port_probe([this](bool opened) {
        if (opened) {
            handOver(new KD426(*this));
        }
    });
}

void Navigator::showKd138()
{
    context_.state.DemoDisplayModel = DemoModel::KD138;
    portForm().port_probe([this](bool opened) {
        if (opened) {
            handOver(new KD138(*this));
        }
    });
}

void Navigator::endProgram()
{
    if (context_.endProgram) {
        context_.endProgram();
    }
}

port_form& Navigator::portForm()
{
    loadPortForm();
    return *portForm_;
}

void Navigator::loadPortForm()
{
    if (!portForm_) {
        portForm_ = std::make_unique<port_form>(context_);
    }
}

void Navigator::unloadPortForm()
{
    portForm_.reset();
}
