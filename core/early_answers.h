#pragma once

// Answers --version and --help of a windowed program before Qt looks for a screen, so that both work
// without one. Returns true when one was answered (the program then ends with status 0).
bool answerVersionOrHelp(int argc, char* argv[], const char* program, const char* help);
