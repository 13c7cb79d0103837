#include "widgets/gui_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

template <typename F> void GuiDialogs::onGuiThread(F&& f)
{
    if (closing_ || !parent_)
        return;
    if (QThread::currentThread() == parent_->thread())
        f();
    else
        QMetaObject::invokeMethod(parent_, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

void GuiDialogs::message(Icon icon, const QString& title, const QString& text, const QString& detail)
{
    onGuiThread([&] {
        QMessageBox box(parent_);
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
    onGuiThread(
        [&] { answer = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok); });
    if (accepted)
        *accepted = ok;
    return answer;
}

QString GuiDialogs::openFile(const QString& title)
{
    QString path;
    onGuiThread([&] {
        path = QFileDialog::getOpenFileName(parent_, title, lastFolder_);
        if (!path.isEmpty())
            lastFolder_ = QFileInfo(path).absolutePath();
    });
    return path;
}

QString GuiDialogs::saveFile(const QString& title, const QString& suggestedName)
{
    QString path;
    onGuiThread([&] { path = QFileDialog::getSaveFileName(parent_, title, suggestedName); });
    return path;
}
