#pragma once

#include <QString>

// The international character sets of ESC R n: each replaces up to twelve ASCII code points
// (23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E) with its country's characters.
constexpr int kInternationalSetCount = 13;

// The set's name, or an empty text for a number the displays do not have.
QString internationalSetName(int number);

// What `byte` shows in set `number`: the set's own character at the twelve code points, the byte itself
// everywhere else (and in every set the displays do not have).
char32_t internationalCharacter(int number, unsigned char byte);
