#pragma once

#include "core/line_settings.h"

#include <optional>

// The line settings a terminal device stands at (its output speed, parity, data and stop bits), as the
// program that opened it set them with tcsetattr. A speed outside the standard list reads as baud 0.
// Nothing when `fd` is not a terminal.
std::optional<LineSettings> terminalSettings(int fd);

// Makes the terminal a raw line at `settings`: no echo, no line editing, no character translation, so
// that every byte passes as it was written. False when the system refuses.
bool setRawTerminal(int fd, const LineSettings& settings);
