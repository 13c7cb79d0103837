#pragma once

#include "widgets/vfd_glyphs.h"

// A character that our own font does not have, drawn with a system font at a large size and
// reduced to the 5x7 grid: a dot is lit when enough of its square is inked. Box-drawing and block
// characters fill the whole cell so that they join their neighbours; other characters are scaled
// so that a capital stands seven rows high. Blank when no font has it, or without a QGuiApplication.
VfdGlyph rasterizedGlyph(char32_t character);

// Whether there is a QGuiApplication, which drawing with a font needs.
bool rasterizerAvailable();
