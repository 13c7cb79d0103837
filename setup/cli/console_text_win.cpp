#include "setup/cli/console_text.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

ConsoleText::ConsoleText() : previousCodePage_(::GetConsoleOutputCP())
{
    if (previousCodePage_ != 0 && previousCodePage_ != CP_UTF8)
        ::SetConsoleOutputCP(CP_UTF8);
}

ConsoleText::~ConsoleText()
{
    if (previousCodePage_ != 0 && previousCodePage_ != CP_UTF8)
        ::SetConsoleOutputCP(previousCodePage_);
}
