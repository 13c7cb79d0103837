#include "demo/windows/navigator.h"

#include "demo/link/demo_context.h"
#include "demo/windows/code_table_window.h"
#include "demo/windows/escpos_demo_window.h"
#include "demo/windows/escpos_port_window.h"
#include "demo/windows/four_line_demo_window.h"
#include "demo/windows/international_set_window.h"
#include "demo/windows/launcher_window.h"
#include "demo/windows/one_line_demo_window.h"

#include "core/device_worker.h"

Navigator::Navigator(DemoContext& context) : context_(context), sharedPort_(context)
{
    if (context_.portWorker != nullptr) {
        connect(context_.portWorker, &DeviceWorker::busyChanged, this, [this](bool busy) {
            if (current_ != nullptr)
                current_->setBusy(busy);
        });
    }
}

Navigator::~Navigator()
{
    delete current_.data();
}

bool Navigator::portBusy() const
{
    return context_.portWorker != nullptr && context_.portWorker->busy();
}

DemoWindow* Navigator::adopt(DemoWindow* window)
{
    connect(window, &DemoWindow::handOver, this, &Navigator::show);
    connect(window, &DemoWindow::endRequested, this, [this] {
        if (context_.endProgram)
            context_.endProgram();
    });
    return window;
}

void Navigator::show(NextWindow next)
{
    switch (next) {
    case NextWindow::Launcher:
        return putInPlace(adopt(new LauncherWindow(context_)));
    case NextWindow::Kd317PortSelection:
        return putInPlace(adopt(new EscPosPortWindow(context_)));
    case NextWindow::Kd426PortSelection:
        return putInPlace(adopt(new PortSelectionWindow(context_, comOptions(5), NextWindow::FourLineDemo)));
    case NextWindow::Kd138PortSelection:
        // Its CANCEL goes back to the launcher; the port chosen here stays in force.
        return putInPlace(adopt(new PortSelectionWindow(context_, comOptions(10), NextWindow::OneLineDemo,
                                                        NextWindow::Launcher)));
    case NextWindow::CommandList:
        return showWhenStarted(adopt(new EscPosDemoWindow(context_)), DisplayProduct::KD317);
    case NextWindow::CodeTable:
        return showWhenStarted(adopt(new CodeTableWindow(context_)), DisplayProduct::KD317);
    case NextWindow::InternationalSet:
        return showWhenStarted(adopt(new InternationalSetWindow(context_)), DisplayProduct::KD317);
    case NextWindow::FourLineDemo:
        return showWhenStarted(adopt(new FourLineDemoWindow(context_, sharedPort_)), DisplayProduct::KD426);
    case NextWindow::OneLineDemo:
        return showWhenStarted(adopt(new OneLineDemoWindow(sharedPort_)), DisplayProduct::KD138);
    }
}

void Navigator::putInPlace(DemoWindow* next)
{
    QPointer<DemoWindow> previous = current_;
    current_ = next;
    next->show();
    next->setBusy(portBusy());
    if (previous && previous != next) {
        // Only the window shown is held busy.
        previous->setBusy(false);
        previous->close();
    }
}

void Navigator::showWhenStarted(DemoWindow* window, DisplayProduct model)
{
    // The jobs that open the port carry the model to the simulated display.
    context_.state.displayModel = model;
    const QPointer<DemoWindow> starting = window;
    window->startUp([this, starting, model](bool started) {
        if (starting == nullptr)
            return;
        if (!started) {
            starting->deleteLater();
            cannotOpen(model);
            return;
        }
        putInPlace(starting);
    });
}

void Navigator::cannotOpen(DisplayProduct model)
{
    // Already on a port selection: the person stays there and chooses again.
    if (qobject_cast<PortSelectionWindow*>(current_.data()) != nullptr)
        return;
    show(model == DisplayProduct::KD426   ? NextWindow::Kd426PortSelection
         : model == DisplayProduct::KD138 ? NextWindow::Kd138PortSelection
                                          : NextWindow::Kd317PortSelection);
}
