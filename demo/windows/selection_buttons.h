#pragma once

#include <QString>
#include <utility>

class QBoxLayout;
class QPushButton;

// The row at the foot of a selection window: "ENTER" (Command1) and `secondCaption` (Command2, the
// way out), side by side and large enough to hit. Returns both, ENTER first.
std::pair<QPushButton*, QPushButton*> addSelectionButtons(QBoxLayout* layout, const QString& secondCaption);
