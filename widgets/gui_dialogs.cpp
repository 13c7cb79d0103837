#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <memory>

namespace {
// How often a worker waiting for a box looks whether the window has begun to close.
constexpr int kClosingCheckMs = 10;
} // namespace

template <typename F> void GuiDialogs::onGuiThread(F&& f)
{
    if (closing_ || (!parentOf_ && !parent_))
        return;
    QObject* home = parentOf_ ? static_cast<QObject*>(QCoreApplication::instance()) : parent_.data();
    if (QThread::currentThread() == home->thread()) {
        f();
        return;
    }
    // The worker waits for the box, but never past the window's closing: the GUI thread may then be
    // waiting for the worker itself, and a box it has not begun to show is dropped (as cancelled).
    struct Call
    {
        QMutex mutex;
        bool started = false;
        bool dropped = false;
        QSemaphore done;
    };
    const auto call = std::make_shared<Call>();
    QMetaObject::invokeMethod(
        home,
        [this, call, &f] {
            {
                QMutexLocker lock(&call->mutex);
                if (call->dropped || closing_)
                    return;
                call->started = true;
            }
            f();
            call->done.release();
        },
        Qt::QueuedConnection);
    while (!call->done.tryAcquire(1, kClosingCheckMs)) {
        QMutexLocker lock(&call->mutex);
        if (closing_ && !call->started) {
            call->dropped = true;
            return;
        }
    }
}

QWidget* GuiDialogs::boxParent() const
{
    return parentOf_ ? parentOf_() : parent_.data();
}

void GuiDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    onGuiThread([&] {
        QMessageBox box(boxParent());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Information:
            box.setIcon(QMessageBox::Information);
            break;
        case NoIcon:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        if (!detail.isEmpty())
            box.setInformativeText(detail);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        // A person always closes a box through a button (Escape and the title bar's close count as
        // OK); without one the event loop ended under it, and the program is going down.
        if (!box.clickedButton())
            closing_ = true;
    });
}

QString GuiDialogs::input(const QString& title, const QString& prompt, const QString& defaultText,
                          bool* accepted)
{
    QString answer;
    bool ok = false;
    onGuiThread([&] {
        // Shown, the dialog selects its text.
        QInputDialog dialog(boxParent());
        dialog.setWindowTitle(title);
        dialog.setLabelText(prompt);
        dialog.setTextValue(defaultText);
        if (inputMinimumWidth_ > 0)
            dialog.setMinimumWidth(inputMinimumWidth_);
        ok = dialog.exec() == QDialog::Accepted;
        if (ok)
            answer = dialog.textValue();
    });
    if (accepted)
        *accepted = ok;
    return answer;
}

QString GuiDialogs::openFile(const QString& title)
{
    return openFileOfType(title, {});
}

QString GuiDialogs::openFileOfType(const QString& title, const QString& typeFilter)
{
    // Every file shows by default; the type is a narrowing the person may choose.
    QString types = QStringLiteral("All files (*)");
    if (!typeFilter.isEmpty())
        types += QStringLiteral(";;") + typeFilter;
    QString path;
    onGuiThread([&] {
        path = QFileDialog::getOpenFileName(boxParent(), title, lastFolder_, types);
        if (!path.isEmpty())
            lastFolder_ = QFileInfo(path).absolutePath();
    });
    return path;
}

QString GuiDialogs::saveFile(const QString& title, const QString& suggestedName)
{
    QString path;
    onGuiThread([&] {
        const QString start = QFileInfo(suggestedName).isRelative() && !lastFolder_.isEmpty()
                                  ? lastFolder_ + QLatin1Char('/') + suggestedName
                                  : suggestedName;
        path = QFileDialog::getSaveFileName(boxParent(), title, start);
        if (!path.isEmpty())
            lastFolder_ = QFileInfo(path).absolutePath();
    });
    return path;
}
