#include "demo/windows/escpos_port_window.h"

#include "demo/link/demo_context.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

QComboBox* editableList(const char* name, const QStringList& items, const QString& text)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentText(text);
    box->setMinimumContentsLength(12);
    return box;
}

} // namespace

EscPosPortWindow::EscPosPortWindow(DemoContext& context)
    : PortSelectionWindow(context, comOptions(8), NextWindow::CommandList)
{
    lineSettingsBox_ = editableList("BOUDRATE", {"4800,n,8,1", "9600,n,8,1", "19200,n,8,1", "38400,n,8,1"},
                                    QStringLiteral("9600,n,8,1"));
    commandSetBox_ = editableList(
        "S_COMMAND", {"DSP800", "ESC/pos", "ADM 787", "ADM 788", "EMAX", "UTC/P", "UTC/S", "CD5220"},
        QStringLiteral("ESC/pos"));
    extraArea()->addWidget(new QLabel(QStringLiteral("BAUD RATE SELECTION")), 0, 0);
    extraArea()->addWidget(lineSettingsBox_, 1, 0);
    extraArea()->addWidget(new QLabel(QStringLiteral("SELECT  COMMAND")), 0, 1);
    extraArea()->addWidget(commandSetBox_, 1, 1);
    extraArea()->setHorizontalSpacing(24);
}

void EscPosPortWindow::enterClicked()
{
    // Whatever text the box holds is what the person confirmed, listed or typed.
    context_.state.confirmLineSettings(lineSettingsBox_->currentText());
    PortSelectionWindow::enterClicked();
}
