#pragma once

#include <QList>
#include <QString>

class QBoxLayout;
class QButtonGroup;
class QObject;

// One option button of a selection window: caption, the value it selects, and the name it carries.
struct OptionEntry
{
    QString caption;
    int value;
    QString name;
};

// Adds to `layout` a grid of option buttons Option1, Option2, ... in columns of five, none checked,
// grouped so that a click reports the option's position in the table.
QButtonGroup* addOptionButtons(QBoxLayout* layout, const QList<OptionEntry>& entries, QObject* owner);
