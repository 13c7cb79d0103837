#pragma once

#include "core/dialogs.h"

#include <QMutex>
#include <QPointer>
#include <condition_variable>
#include <functional>

class QWidget;

// Qt message, input and file boxes, shown on the GUI thread. Once the window is closing nothing more is
// shown, and a box asked for then returns at once as cancelled.
//
// The one way from a device worker to the person: message() may also be called from the worker, for a
// notice that the protocol waits on between two writes. The call hands the box to the GUI thread and
// waits for it to be closed, but never past the window's closing: the GUI thread may then be about to
// wait for the worker itself. Every other box is the GUI thread's alone.
class GuiDialogs : public Dialogs
{
public:
    // The boxes stand over `parent`, the program's one main window; none is shown once it is gone.
    explicit GuiDialogs(QWidget* parent) : parent_(parent) {}
    // The boxes stand over the window `parentOf` names as each box comes up, for a program whose
    // windows come and go (vfddemo); a box for which it names none stands on its own.
    explicit GuiDialogs(std::function<QWidget*()> parentOf) : parentOf_(std::move(parentOf)) {}

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    // The default text comes up selected, so that typing replaces it.
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    // Both start in the folder of the file chosen last in this run, and remember the new one.
    QString openFile(const QString& title) override;
    QString openFileOfType(const QString& title, const QString& typeFilter) override;
    QString saveFile(const QString& title, const QString& suggestedName) override;

    // The window is closing: nothing more is shown, and a worker waiting for a box is let go at once (the
    // box, if up, stays until it is closed, answering nobody). GUI thread.
    void setClosing();
    // True once the window is closing, or the event loop ended under a box.
    bool closing() const;
    // Called on the GUI thread as the boxes begin to close, before a waiting worker is let go: what asks
    // the operation to stop, so that it sends nothing more once its box returns.
    void setWhenClosing(std::function<void()> whenClosing) { whenClosing_ = std::move(whenClosing); }
    // Input boxes at least this wide; 0 (the default) leaves the width to Qt.
    void setInputMinimumWidth(int pixels) { inputMinimumWidth_ = pixels; }

private:
    // The object whose thread shows the boxes (null once there is none).
    QObject* home() const;
    bool onHomeThread() const;
    // True when a box of the GUI thread may be shown: there is a window for it, and it is not closing.
    bool showsHere() const;
    // The message box itself, on the GUI thread.
    void showMessage(Icon icon, const QString& title, const QString& text, const QString& detail);
    // From a worker: the box shown on the GUI thread, waited for until it is closed or the window closes.
    void messageFromWorker(Icon icon, const QString& title, const QString& text, const QString& detail);
    QWidget* boxParent() const;

    QPointer<QWidget> parent_;
    std::function<QWidget*()> parentOf_;
    std::function<void()> whenClosing_;
    mutable QMutex mutex_; // guards closing_ and the answers a worker waits for
    // A standard condition variable, not QWaitCondition: its wait releases and retakes the mutex inside
    // Qt's library, where the thread sanitizer (with Qt built without it) cannot see it.
    std::condition_variable_any changed_;
    bool closing_ = false;
    int inputMinimumWidth_ = 0;
    QString lastFolder_;
};
