// Ctrl-C, Ctrl-Break and the console window closing stop vfdctl. The console calls the handler on a
// thread of its own; answering TRUE keeps the process alive until the operation has ended at a frame.
#include "setup/cli/stop_signal_install.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

BOOL WINAPI onConsoleStop(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        raiseStopFlag();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void installStopHandlers()
{
    ::SetConsoleCtrlHandler(onConsoleStop, TRUE);
}

void writeToStandardError(const char* text, std::size_t size)
{
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(size), &written, nullptr);
}
