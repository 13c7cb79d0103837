#pragma once

#include <array>
#include <cstdint>

// A 5 x 7 character cell: seven rows from the top, each a five-bit pattern with the leftmost dot in
// bit 4.
using VfdGlyph = std::array<std::uint8_t, 7>;

// The dots of a character as the simulated displays draw it. ASCII comes from our own hand-set font;
// accented Latin letters are that font's letter with the accent set above (squeezed where needed) or the
// cedilla below; everything else (box drawing, Greek, Cyrillic, Katakana, symbols) is the system font's
// glyph rasterised into the cell. Results are kept, so each character is worked out once.
VfdGlyph GlyphFor(char32_t character);

// The hand-set glyph of a printable ASCII character (0x20 to 0x7E).
const VfdGlyph& AsciiGlyph(char32_t character);

// The system font's glyph for `character` thresholded into a 5 x 7 cell; all dots off when no font
// can draw it.
VfdGlyph RasteriseGlyph(char32_t character);

// True when the cell has a dot at `row` (0 to 6) and `column` (0 to 4).
inline bool GlyphDot(const VfdGlyph& glyph, int row, int column)
{
    return (glyph[row] >> (4 - column)) & 1;
}
