#pragma once

#include <cstddef>

// The platform's way of hearing a stop (stop_signal_unix.cpp, stop_signal_win.cpp): each stop calls
// raiseStopFlag().
void installStopHandlers();
// Raises the stop flag; the second time, ends the program at once. Safe in a signal handler.
void raiseStopFlag();
// Writes to the standard error without buffering or locks, as a signal handler may.
void writeToStandardError(const char* text, std::size_t size);
