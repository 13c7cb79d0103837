#include "demo_dialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

std::optional<QString> QtDialogs::askText(QWidget* parent, const QString& prompt, const QString& title,
                                          const QString& defaultReply)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultReply);
    dialog.setMinimumWidth(420);
    // The default reply is shown selected so that typing replaces it.
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* edit = dialog.findChild<QLineEdit*>()) {
            edit->selectAll();
        }
    });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

void QtDialogs::showMessage(QWidget* parent, Icon icon, const QString& title, const QString& text)
{
    const QMessageBox::Icon boxIcon = icon == Critical      ? QMessageBox::Critical
                                      : icon == Warning     ? QMessageBox::Warning
                                      : icon == Information ? QMessageBox::Information
                                                            : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
