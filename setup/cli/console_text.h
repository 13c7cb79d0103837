#pragma once

// vfdctl writes UTF-8. A Windows console shows it right only with its output code page at UTF-8 (and
// through a pipe the bytes are UTF-8 either way); this holds that code page for the program's run and
// gives the console back as it was. Elsewhere the terminal's own encoding is taken as UTF-8.
class ConsoleText
{
public:
    ConsoleText();
    ~ConsoleText();
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;

private:
    [[maybe_unused]] unsigned int previousCodePage_ = 0; // Windows only
};
