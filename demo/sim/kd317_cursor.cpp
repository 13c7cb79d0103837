// The KD-317's characters and cursor moves. At the edges of the screen they follow the write mode:
//
// - overwrite: the cursor wraps, the end of the lower row leads to home and home back to it;
// - vertical scroll: past the end of the lower row the screen scrolls up. The displays of this kind
//   disagree on when: some scroll as soon as the last cell is written, which leaves an empty lower row
//   that nothing has asked for; the common behaviour, kept here, is that the cursor waits past the end
//   and the scroll comes with the next character;
// - horizontal scroll: the cursor stays on its row; past the end each new character pushes the row
//   one cell to the left and lands in the last cell.
#include "sim/kd317_display.h"

#include "sim/code_table.h"
#include "sim/international_set.h"

namespace {

char32_t Shown(unsigned char byte, int codeTable, int internationalSet)
{
    if (byte == 0x7F) {
        return U'⌂';
    }
    return byte < 0x80 ? internationalCharacter(internationalSet, byte) : upperHalfCharacter(codeTable, byte);
}

} // namespace

void Kd317Display::writeCharacter(unsigned char byte)
{
    if (pastEnd_) {
        if (mode_ == WriteMode::VerticalScroll) {
            grid_.scrollUp();
            column_ = 0;
            pastEnd_ = false;
        } else if (mode_ == WriteMode::HorizontalScroll) {
            grid_.shiftLeft(row_);
        }
    }
    grid_.at(row_, column_) = VfdCell{Shown(byte, codeTable_, internationalSet_), reverse_};
    if (column_ < Columns - 1) {
        ++column_;
        return;
    }
    switch (mode_) {
    case WriteMode::Overwrite:
        row_ = row_ == 0 ? 1 : 0;
        column_ = 0;
        break;
    case WriteMode::VerticalScroll:
        if (row_ == 0) {
            row_ = 1;
            column_ = 0;
        } else {
            pastEnd_ = true;
        }
        break;
    case WriteMode::HorizontalScroll:
        pastEnd_ = true;
        break;
    }
}

void Kd317Display::moveRight()
{
    if (column_ < Columns - 1 && !pastEnd_) {
        ++column_;
        return;
    }
    pastEnd_ = false;
    if (mode_ == WriteMode::HorizontalScroll) {
        return;
    }
    if (row_ == 0) {
        row_ = 1;
    } else if (mode_ == WriteMode::VerticalScroll) {
        grid_.scrollUp();
    } else {
        row_ = 0;
    }
    column_ = 0;
}

void Kd317Display::moveLeft()
{
    pastEnd_ = false;
    if (column_ > 0) {
        --column_;
        return;
    }
    if (mode_ == WriteMode::HorizontalScroll) {
        return;
    }
    if (row_ == 1) {
        row_ = 0;
    } else if (mode_ == WriteMode::VerticalScroll) {
        grid_.scrollDown();
    } else {
        row_ = 1;
    }
    column_ = Columns - 1;
}

void Kd317Display::moveDown()
{
    pastEnd_ = false;
    if (row_ == 0) {
        row_ = 1;
    } else if (mode_ == WriteMode::VerticalScroll) {
        grid_.scrollUp();
    } else {
        row_ = 0;
    }
}

void Kd317Display::moveUp()
{
    pastEnd_ = false;
    if (row_ == 1) {
        row_ = 0;
    } else if (mode_ == WriteMode::VerticalScroll) {
        grid_.scrollDown();
    } else {
        row_ = 1;
    }
}

void Kd317Display::clearScreen()
{
    grid_.clear();
    row_ = 0;
    column_ = 0;
    pastEnd_ = false;
    timeShown_ = false;
}
