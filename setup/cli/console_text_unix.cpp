#include "setup/cli/console_text.h"

ConsoleText::ConsoleText() = default;
ConsoleText::~ConsoleText() = default;
