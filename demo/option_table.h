#pragma once

#include <QList>
#include <QString>

class QButtonGroup;
class QObject;
class QGridLayout;

// One option button of a selection window: caption, the value it selects, and the name it carries.
struct OptionEntry
{
    QString caption;
    int value;
    QString name;
};

// Lays option buttons Option1, Option2, ... into columns of `perColumn`, none checked, and groups them
// so that a click reports the option's position in the table.
QButtonGroup* AddOptionButtons(QGridLayout* grid, const QList<OptionEntry>& entries, int perColumn,
                               QObject* owner);
