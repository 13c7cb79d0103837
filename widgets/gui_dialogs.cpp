#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

template <typename F> void GuiDialogs::onGuiThread(F&& f)
{
    if (closing_ || (!parentOf_ && !parent_))
        return;
    QObject* home = parentOf_ ? static_cast<QObject*>(QCoreApplication::instance()) : parent_.data();
    if (QThread::currentThread() == home->thread())
        f();
    else
        QMetaObject::invokeMethod(home, std::forward<F>(f), Qt::BlockingQueuedConnection);
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
    QString path;
    onGuiThread([&] {
        path = QFileDialog::getOpenFileName(boxParent(), title, lastFolder_);
        if (!path.isEmpty())
            lastFolder_ = QFileInfo(path).absolutePath();
    });
    return path;
}

QString GuiDialogs::saveFile(const QString& title, const QString& suggestedName)
{
    QString path;
    onGuiThread([&] { path = QFileDialog::getSaveFileName(boxParent(), title, suggestedName); });
    return path;
}
