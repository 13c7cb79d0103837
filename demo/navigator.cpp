#include "navigator.h"

#include "character.h"
#include "demo_context.h"
#include "epson.h"
#include "internation.h"
#include "kd138.h"
#include "kd426.h"
#include "port_form.h"
#include "rs_232.h"
#include "rs_232_kd138.h"
#include "rs_232_kd426.h"
#include "talvex_main.h"

Navigator::Navigator(DemoContext& context) : context_(context) {}

Navigator::~Navigator()
{
    delete current_.data();
}

void Navigator::handOver(QWidget* next)
{
    QPointer<QWidget> previous = current_;
    current_ = next;
    next->show();
    if (previous && previous != next) {
        previous->close();
    }
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
    auto* window = new epson(*this);
    if (!window->startUp()) {
        delete window;
        cannotOpen(DemoModel::KD317);
        return;
    }
    handOver(window);
}

void Navigator::showCharacter()
{
    context_.state.DemoDisplayModel = DemoModel::KD317;
    auto* window = new CHARACTER(*this);
    if (!window->startUp()) {
        delete window;
        cannotOpen(DemoModel::KD317);
        return;
    }
    handOver(window);
}

void Navigator::showInternation()
{
    context_.state.DemoDisplayModel = DemoModel::KD317;
    auto* window = new internation(*this);
    if (!window->startUp()) {
        delete window;
        cannotOpen(DemoModel::KD317);
        return;
    }
    handOver(window);
}

void Navigator::showKd426()
{
    context_.state.DemoDisplayModel = DemoModel::KD426;
    // The demonstration opens the port only around each press; trying it once here lets the person
    // pick another port at once instead of finding out at the first press.
    if (!portForm().port_probe()) {
        return;
    }
    handOver(new KD426(*this));
}

void Navigator::showKd138()
{
    context_.state.DemoDisplayModel = DemoModel::KD138;
    if (!portForm().port_probe()) {
        return;
    }
    handOver(new KD138(*this));
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
