#pragma once

#include "demo/windows/next_window.h"

#include <QPointer>
#include <QWidget>
#include <functional>

// What every vfddemo window shares: it deletes itself when closed, it asks for the next window (or the
// end of the program) by a signal, and while port work runs (the writes and the fixed pauses some
// commands need, on the device worker's thread) the window is busy: its controls are disabled and a
// close from the window frame is refused, so no click slips between the held-back bytes and the window
// is never destroyed under the command that is running. A window may keep some controls taking input
// meanwhile (what a person types for the display is queued, never refused). The window keeps
// repainting; its focus comes back when the work has ended.
class DemoWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DemoWindow(const QString& caption);

    bool isBusy() const { return busy_; }
    void setBusy(bool busy);

    // Gets the window ready before it is shown (a demonstration opens its port and greets the display);
    // `started` hears whether it may be shown. Windows without such work are ready at once.
    virtual void startUp(std::function<void(bool)> started) { started(true); }

signals:
    // The window is done: `next` is to be shown in its place.
    void handOver(NextWindow next);
    // The program is to end.
    void endRequested();

protected:
    // What busy disables: the whole window unless a part of it is named here.
    void setHeldWhileBusy(QWidget* area) { heldWhileBusy_ = area; }
    // Runs while the window closes, to let go of its port.
    virtual void windowClosing() {}
    void closeEvent(QCloseEvent* event) override;

private:
    bool busy_ = false;
    QWidget* heldWhileBusy_ = this;
    QPointer<QWidget> focusBefore_;
};
