#pragma once
// Starting a program with a document, as the shell's "open" does: the named
// program gets the parameter text as its one argument, without a shell, and
// runs on its own. A web browser that does not exist here (a Windows name
// such as "Iexplore.exe") is replaced by the desktop's default browser.
#include "platform/win/WinTypes.h"

#include <cstdint>

// The shell's result: above 32 when a program was started.
using HINSTANCE = std::intptr_t;

constexpr int SW_SHOWNORMAL = 1;
constexpr HINSTANCE SE_ERR_FNF = 2;
constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;

// Returns as soon as the program has been started (or could not be).
// The owner window and the show command have no say on Linux: the desktop
// places the new program's windows.
HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int showCommand);
