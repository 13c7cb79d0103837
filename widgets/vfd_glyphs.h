#pragma once

#include <QtGlobal>
#include <array>

// The 5x7 font of both programs' simulated displays.
//
// One character cell: 7 rows of 5 dots, top row first; in each row bit 4 is the leftmost dot and
// bit 0 the rightmost.
using VfdGlyph = std::array<quint8, 7>;

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// The dot pattern a screen lights for a character:
// - printable ASCII (space to 0x7F) from our own hand-set font; 0x7F and U+2302 are the house sign;
// - a Latin letter with one accent (é, Ü, ñ, å, ç, š, ő, ă, ...) as its ASCII letter with the
//   accent's dots set above it (the letter squeezed to five rows where it is taller) or the mark
//   hung below it;
// - anything else (box drawing, Greek, Cyrillic, Katakana, currency signs) rasterized from a system
//   font into the 5x7 grid;
// - a control character, a space, or a character no font can draw as a blank cell.
// Each character beyond ASCII is worked out once per run; safe to call from any thread, but a
// rasterized character needs a QGuiApplication (without one it is blank).
VfdGlyph glyphFor(char32_t character);

// The hand-set pattern of a printable ASCII character (0x20..0x7F); blank for anything else.
VfdGlyph asciiGlyph(char32_t character);

inline bool glyphDot(const VfdGlyph& glyph, int row, int column)
{
    return (glyph[row] >> (kGlyphColumns - 1 - column)) & 1;
}
