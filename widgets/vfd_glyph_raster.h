#pragma once

#include "widgets/vfd_glyphs.h"

// A character that our own font does not have, drawn with a system font at a large size and
// reduced to the 5x7 grid: a dot is lit when most of its square is inked. Needs a QGuiApplication.
// Box-drawing and block characters fill the whole cell so that they join their neighbours; other
// characters are scaled so that a capital stands seven rows high. Blank when no font has it.
VfdGlyph RasterizedGlyph(QChar character);
