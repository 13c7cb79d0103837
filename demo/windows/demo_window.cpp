#include "demo/windows/demo_window.h"

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

void DemoWindow::setBusy(bool busy)
{
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        // Disabling takes the focus away; it goes back where it was once the work has ended.
        focusBefore_ = focusWidget();
        heldWhileBusy_->setEnabled(false);
        return;
    }
    heldWhileBusy_->setEnabled(true);
    if (focusBefore_ != nullptr) {
        focusBefore_->setFocus();
    }
}
