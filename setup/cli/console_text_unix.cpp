#include "cli/console_text.h"

ConsoleText::ConsoleText() = default;
ConsoleText::~ConsoleText() = default;
