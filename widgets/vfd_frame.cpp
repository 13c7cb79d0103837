#include "widgets/vfd_frame.h"

VfdGrid::VfdGrid(int rows, int columns) : rows_(rows), columns_(columns), cells_(rows * columns) {}

void VfdGrid::clear()
{
    cells_.fill(VfdCell());
}

void VfdGrid::clearRow(int row)
{
    for (int column = 0; column < columns_; ++column) {
        at(row, column) = VfdCell();
    }
}

void VfdGrid::scrollUp()
{
    for (int row = 0; row + 1 < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            at(row, column) = at(row + 1, column);
        }
    }
    clearRow(rows_ - 1);
}

void VfdGrid::scrollDown()
{
    for (int row = rows_ - 1; row > 0; --row) {
        for (int column = 0; column < columns_; ++column) {
            at(row, column) = at(row - 1, column);
        }
    }
    clearRow(0);
}

void VfdGrid::shiftLeft(int row)
{
    for (int column = 0; column + 1 < columns_; ++column) {
        at(row, column) = at(row, column + 1);
    }
    at(row, columns_ - 1) = VfdCell();
}

QString VfdGrid::rowText(int row) const
{
    QString text;
    for (int column = 0; column < columns_; ++column) {
        const char32_t c = at(row, column).character;
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}
