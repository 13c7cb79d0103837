#include "demo/windows/mirror_grid.h"

#include "demo/model/screen_mirror.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>

MirrorGrid::MirrorGrid(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    grid->setContentsMargins(0, 0, 0, 0);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(15.75);
    for (int i = 1; i <= ScreenMirror::kCellCount; ++i) {
        auto* cell = new QLineEdit;
        cell->setObjectName(QStringLiteral("Text1_%1").arg(i));
        cell->setMaxLength(1);
        cell->setFont(font);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFixedSize(34, 40);
        cell->setFocusPolicy(Qt::ClickFocus);
        cell->setStyleSheet(QStringLiteral("QLineEdit { color: rgb(128,255,128); background: black; "
                                           "border: 1px solid #305030; }"));
        cell->installEventFilter(this);
        const int row = (i - 1) / ScreenMirror::kRowLength;
        const int column = (i - 1) % ScreenMirror::kRowLength;
        grid->addWidget(cell, row, column);
        cells_.append(cell);
    }
}

void MirrorGrid::showMirror(const ScreenMirror& mirror)
{
    for (int i = 1; i <= ScreenMirror::kCellCount; ++i) {
        cells_[i - 1]->setText(mirror.cell(i));
    }
}

void MirrorGrid::focusCell(int index)
{
    cells_[index - 1]->setFocus(Qt::OtherFocusReason);
}

bool MirrorGrid::eventFilter(QObject* watched, QEvent* event)
{
    const int index = static_cast<int>(cells_.indexOf(qobject_cast<QLineEdit*>(watched))) + 1;
    if (index == 0) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        emit cellClicked(index);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab and Backtab move between controls; they are not characters for the display.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            return false;
        }
        // The window does all the cell's key handling, so the cell's own editing never runs. Delete
        // edits a text but types no character (its text is 0x7F on some systems): it writes nothing.
        if (key->text().size() == 1 && key->key() != Qt::Key_Delete) {
            emit keyTyped(index, key->text());
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
