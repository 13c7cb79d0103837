#include "windows/rs_232.h"

#include "demo_context.h"
#include "navigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

QComboBox* EditableList(const char* name, const QStringList& items, const QString& text)
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

RS_232::RS_232(Navigator& navigator) : PortSelectionWindow(navigator, ComOptions(8))
{
    BOUDRATE = EditableList("BOUDRATE", {"4800,n,8,1", "9600,n,8,1", "19200,n,8,1", "38400,n,8,1"},
                            QStringLiteral("9600,n,8,1"));
    S_COMMAND = EditableList("S_COMMAND",
                             {"DSP800", "ESC/pos", "ADM 787", "ADM 788", "EMAX", "UTC/P", "UTC/S", "CD5220"},
                             QStringLiteral("ESC/pos"));
    extraArea()->addWidget(new QLabel(QStringLiteral("BAUD RATE SELECTION")), 0, 0);
    extraArea()->addWidget(BOUDRATE, 1, 0);
    extraArea()->addWidget(new QLabel(QStringLiteral("SELECT  COMMAND")), 0, 1);
    extraArea()->addWidget(S_COMMAND, 1, 1);
    extraArea()->setHorizontalSpacing(24);
}

void RS_232::enterClicked()
{
    // Whatever text the box holds is the settings text, listed or typed.
    navigator_.context().state.DemoLineSettings = BOUDRATE->currentText();
    navigator_.showEpson();
}

void RS_232::cancelClicked()
{
    navigator_.endProgram();
}
