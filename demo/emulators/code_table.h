#pragma once

#include <QString>

// The character code tables a display can select with ESC t n. The lower half (below 128) is ASCII in
// every table; the upper half is drawn from Qt's own converter for the table's code page.
struct CodeTable
{
    int number;       // n of ESC t n
    const char* name; // as the displays' documentation calls it
    const char* codePage;
};

// The table numbered n, or nullptr when the displays have no such table.
const CodeTable* findCodeTable(int number);

// The character byte 128..255 stands for in table `number`; a blank where the page has no single-byte
// character there (the lead bytes of the Katakana page, say).
char32_t upperHalfCharacter(int number, unsigned char byte);
