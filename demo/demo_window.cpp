#include "demo_window.h"

#include "demo_clock.h"

#include <QCloseEvent>

DemoWindow::DemoWindow(const QString& caption)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
}

void DemoWindow::closeEvent(QCloseEvent* event)
{
    if (isBusy()) {
        event->ignore();
        return;
    }
    windowClosing();
    event->accept();
}

DemoWindow::Busy::Busy(DemoWindow& window) : window_(window)
{
    if (window_.busyDepth_++ == 0) {
        window_.setEnabled(false);
    }
}

DemoWindow::Busy::~Busy()
{
    if (--window_.busyDepth_ == 0) {
        window_.setEnabled(true);
    }
}

void DemoWindow::pauseFor(DemoClock& clock, int ms)
{
    Busy busy(*this);
    clock.pause(ms);
}
