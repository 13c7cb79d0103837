#include "demo/windows/selection_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

std::pair<QPushButton*, QPushButton*> addSelectionButtons(QBoxLayout* layout, const QString& secondCaption)
{
    auto* row = new QHBoxLayout;
    auto* enter = new QPushButton(QStringLiteral("ENTER"));
    enter->setObjectName(QStringLiteral("Command1"));
    auto* second = new QPushButton(secondCaption);
    second->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* button : {enter, second}) {
        button->setMinimumSize(110, 34);
        row->addWidget(button);
    }
    layout->addLayout(row);
    return {enter, second};
}
