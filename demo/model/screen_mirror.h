#pragma once

#include <QString>
#include <QStringList>

// How the display places typed characters, as the three mode buttons set it.
enum class MirrorMode { Overwrite, Vertical, Horizontal };

// The 2 x 20 picture of the display: cells 1 to 20 are row 1, 21 to 40 row 2, each holding at most one
// character, and the cell that has the focus (where the next key lands).
class ScreenMirror
{
public:
    static constexpr int kCellCount = 40;
    static constexpr int kRowLength = 20;

    ScreenMirror();

    const QString& cell(int index) const { return cells_[index - 1]; }
    void setCell(int index, const QString& text) { cells_[index - 1] = text.left(1); }
    int focus() const { return focus_; }
    void setFocus(int index) { focus_ = index; }

    // Row 1 and row 2 from two 20-character lines.
    void show(const QString& row1, const QString& row2);

    // A character typed into cell `index`: the cell shows it, the mode moves the focus (and shifts the
    // rows at the ends), and finally the key's own insertion fills the cell only if it is empty by then.
    // `shown` is what the cell draws for the key (empty for a control character).
    void typeCharacter(int index, const QString& shown, MirrorMode mode);

    // Vertical scroll: row 2 moves up into row 1 cell by cell and row 2 is emptied. Gives old row 2's
    // cells in order, to be written to the display.
    QStringList shiftRowUp();

private:
    QStringList cells_;
    int focus_ = 1;
};
