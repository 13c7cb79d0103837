#pragma once

#include <QChar>
#include <array>

// One character cell of a VQ71xx screen: 7 rows of 5 dots, top row first; in each row bit 4 is the
// leftmost dot and bit 0 the rightmost.
using VfdGlyph = std::array<quint8, 7>;

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// The dot pattern the screen lights for a character:
// - printable ASCII (space to 0x7F, the house sign) from our own 5x7 font;
// - a Latin letter with an accent (é, Ü, ñ, å, ç, š, ...) as its letter with the accent's dots added;
// - anything else (box drawing, Greek, Cyrillic, katakana, currency signs) rasterized from a system
//   font into the 5x7 grid;
// - a null character, or one no font can draw, as a blank cell.
VfdGlyph GlyphFor(QChar character);

// The hand-designed pattern of a printable ASCII character (0x20..0x7F); blank for anything else.
VfdGlyph AsciiGlyph(char character);

inline bool GlyphDot(const VfdGlyph& glyph, int row, int column)
{
    return (glyph[row] >> (kGlyphColumns - 1 - column)) & 1;
}
