#pragma once

#include <QString>
#include <optional>

// Reads a prompt reply as a number: blanks, tabs and line feeds anywhere are ignored, and the longest
// leading number is taken (sign, digits, decimal point, exponent, or &H / &O followed by hexadecimal or
// octal digits); the rest is dropped. A reply with no leading number reads as 0.
double readReplyNumber(const QString& reply);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double value);

// The reply rounded to a whole number when the value it reads as lies in [low, high] (lowOpen makes the
// lower bound exclusive); nothing otherwise.
std::optional<int> replyInRange(const QString& reply, double low, bool lowOpen, double high);
