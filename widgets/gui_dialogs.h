#pragma once

#include "core/dialogs.h"

#include <QPointer>
#include <atomic>
#include <functional>

class QWidget;

// Qt message, input and file boxes. Callable from the operation's worker thread: the call hops to
// the GUI thread and waits for the answer. Once the window is closing nothing more is shown, and a
// box asked for then returns at once as cancelled.
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

    void setClosing() { closing_ = true; }
    // True once the window is closing, or the event loop ended under a box.
    bool closing() const { return closing_; }
    // Input boxes at least this wide; 0 (the default) leaves the width to Qt.
    void setInputMinimumWidth(int pixels) { inputMinimumWidth_ = pixels; }

private:
    template <typename F> void onGuiThread(F&& f);
    QWidget* boxParent() const;

    QPointer<QWidget> parent_;
    std::function<QWidget*()> parentOf_;
    std::atomic_bool closing_ = false;
    int inputMinimumWidth_ = 0;
    QString lastFolder_;
};
