#pragma once

#include <QList>
#include <QString>

// What a dot-matrix screen shows, cell by cell: the simulated displays of both programs fill it in,
// VfdScreenView draws it.

// One character position of a dot-matrix screen.
struct VfdCell
{
    // A character twice as tall takes two rows of the same column: its upper half in the top cell.
    enum Height { Single, DoubleTop, DoubleBottom };

    char32_t character = U' ';
    bool reverse = false;
    Height height = Single;

    bool operator==(const VfdCell&) const = default;
};

// The characters of a screen, row by row, with the moves the write modes make.
class VfdGrid
{
public:
    VfdGrid(int rows, int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    const VfdCell& at(int row, int column) const { return cells_[row * columns_ + column]; }
    VfdCell& at(int row, int column) { return cells_[row * columns_ + column]; }

    void clear();
    void clearRow(int row);
    // Every row moves up one; the bottom row is emptied.
    void scrollUp();
    // Every row moves down one; the top row is emptied.
    void scrollDown();
    // The row moves one cell to the left; its last cell is emptied.
    void shiftLeft(int row);
    // The row as text, one character per cell.
    QString rowText(int row) const;

    bool operator==(const VfdGrid&) const = default;

private:
    int rows_;
    int columns_;
    QList<VfdCell> cells_;
};

// What a screen shows at one moment, for the screen widget to draw and the tests to read.
struct VfdFrame
{
    explicit VfdFrame(const VfdGrid& grid) : grid(grid) {}

    VfdGrid grid;
    int brightness = 4; // 1 (dimmest) to 4
    bool lit = true;    // false in the dark half of a blink, and while the display has no power
    bool cursorShown = false;
    int cursorRow = 0;
    int cursorColumn = 0;

    bool operator==(const VfdFrame&) const = default;
};
