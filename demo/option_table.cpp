#include "option_table.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

QButtonGroup* AddOptionButtons(QGridLayout* grid, const QList<OptionEntry>& entries, int perColumn,
                               QObject* owner)
{
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < entries.size(); ++i) {
        auto* option = new QRadioButton(entries[i].caption);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        group->addButton(option, i);
        grid->addWidget(option, i % perColumn, i / perColumn);
    }
    return group;
}
