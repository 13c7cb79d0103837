#pragma once

#include "core/dialogs.h"

#include <QPointer>
#include <atomic>

class QWidget;

// Qt message, input and file boxes. Callable from the operation's worker thread: the call hops to
// the GUI thread and waits for the answer. Once the window is closing nothing more is shown, and a
// box asked for then returns at once as cancelled.
class GuiDialogs : public Dialogs
{
public:
    explicit GuiDialogs(QWidget* parent) : parent_(parent) {}

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString& title) override;
    QString saveFile(const QString& title, const QString& suggestedName) override;

    void setClosing() { closing_ = true; }
    // True once the window is closing, or the event loop ended under a box.
    bool closing() const { return closing_; }

private:
    template <typename F> void onGuiThread(F&& f);
    QPointer<QWidget> parent_;
    std::atomic_bool closing_ = false;
    QString lastFolder_;
};
