#include "widgets/gui_dialogs.h"

#include "core/cross_thread_call.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QThread>
#include <memory>

QObject* GuiDialogs::home() const
{
    return parentOf_ ? static_cast<QObject*>(QCoreApplication::instance()) : parent_.data();
}

bool GuiDialogs::onHomeThread() const
{
    const QObject* shows = home();
    return shows && QThread::currentThread() == shows->thread();
}

bool GuiDialogs::showsHere() const
{
    if (closing() || !home())
        return false;
    Q_ASSERT_X(onHomeThread(), "GuiDialogs", "only a message box may be asked for from another thread");
    return true;
}

bool GuiDialogs::closing() const
{
    QMutexLocker lock(&mutex_);
    return closing_;
}

void GuiDialogs::setClosing()
{
    if (closing())
        return;
    // The stop first: a worker let go below must find it when its box returns.
    if (whenClosing_)
        whenClosing_();
    {
        QMutexLocker lock(&mutex_);
        closing_ = true;
    }
    changed_.notify_all();
}

void GuiDialogs::messageFromWorker(Icon icon, const QString& title, const QString& text,
                                   const QString& detail)
{
    // The box's words are copied: a worker let go at the window's closing leaves the box behind it.
    const auto answered = std::make_shared<bool>(false);
    invokeAcrossThreads(
        home(),
        [this, answered, icon, title, text, detail] {
            if (closing())
                return;
            showMessage(icon, title, text, detail);
            QMutexLocker lock(&mutex_);
            *answered = true;
            changed_.notify_all();
        },
        Qt::QueuedConnection);
    QMutexLocker lock(&mutex_);
    while (!*answered && !closing_)
        changed_.wait(mutex_); // mutex_ is held by `lock` around the wait
}

QWidget* GuiDialogs::boxParent() const
{
    return parentOf_ ? parentOf_() : parent_.data();
}

void GuiDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    if (closing() || !home())
        return;
    if (onHomeThread())
        showMessage(icon, title, text, detail);
    else
        messageFromWorker(icon, title, text, detail);
}

void GuiDialogs::showMessage(Icon icon, const QString& title, const QString& text, const QString& detail)
{
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
    // A person always closes a box through a button (Escape and the title bar's close count as OK);
    // without one the event loop ended under it, and the program is going down.
    if (!box.clickedButton())
        setClosing();
}

QString GuiDialogs::input(const QString& title, const QString& prompt, const QString& defaultText,
                          bool* accepted)
{
    QString answer;
    bool ok = false;
    if (showsHere()) {
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
    }
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
    if (!showsHere())
        return {};
    const QString path = QFileDialog::getOpenFileName(boxParent(), title, lastFolder_, types);
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

QString GuiDialogs::saveFile(const QString& title, const QString& suggestedName)
{
    if (!showsHere())
        return {};
    const QString start = QFileInfo(suggestedName).isRelative() && !lastFolder_.isEmpty()
                              ? lastFolder_ + QLatin1Char('/') + suggestedName
                              : suggestedName;
    const QString path = QFileDialog::getSaveFileName(boxParent(), title, start);
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}
