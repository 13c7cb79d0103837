#include "demo/model/screen_mirror.h"

#include <algorithm>

ScreenMirror::ScreenMirror()
{
    for (int i = 0; i < kCellCount; ++i) {
        cells_.append(QString());
    }
}

void ScreenMirror::show(const QString& row1, const QString& row2)
{
    for (int c = 1; c <= kRowLength; ++c) {
        setCell(c, row1.mid(c - 1, 1));
        setCell(c + kRowLength, row2.mid(c - 1, 1));
    }
}

void ScreenMirror::typeCharacter(int index, const QString& shown, MirrorMode mode)
{
    setCell(index, shown);
    switch (mode) {
    case MirrorMode::Overwrite:
        setCell(index, QString());
        focus_ = index == kCellCount ? 1 : index + 1;
        break;
    case MirrorMode::Vertical:
        setCell(index, QString());
        if (index == kCellCount) {
            shiftRowUp();
            focus_ = kRowLength + 1;
        } else {
            focus_ = index + 1;
        }
        break;
    case MirrorMode::Horizontal:
        if (index == kRowLength + 1) {
            focus_ = kRowLength;
            for (int c = 1; c < kRowLength; ++c) {
                setCell(c, cell(c + 1));
            }
            setCell(kRowLength, cell(kRowLength + 1));
            setCell(kRowLength + 1, QStringLiteral(" "));
        } else {
            // The last cell keeps the focus: there is no cell after it.
            focus_ = std::min(index + 1, kCellCount);
        }
        break;
    }
    // The key itself lands in the cell it was typed into, which holds one character at most.
    if (cell(index).isEmpty()) {
        setCell(index, shown);
    }
}

QStringList ScreenMirror::shiftRowUp()
{
    QStringList written;
    for (int c = 1; c <= kRowLength; ++c) {
        setCell(c, cell(c + kRowLength));
        written.append(cell(c + kRowLength));
        setCell(c + kRowLength, QString());
    }
    return written;
}
