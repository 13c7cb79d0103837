#include "demo/windows/option_table.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

QButtonGroup* addOptionButtons(QBoxLayout* layout, const QList<OptionEntry>& entries, QObject* owner)
{
    constexpr int kPerColumn = 5;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(30);
    grid->setVerticalSpacing(10);
    layout->addLayout(grid);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < entries.size(); ++i) {
        auto* option = new QRadioButton(entries[i].caption);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        group->addButton(option, i);
        grid->addWidget(option, i % kPerColumn, i / kPerColumn);
    }
    return group;
}
