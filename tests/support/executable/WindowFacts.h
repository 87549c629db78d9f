#pragma once
// What the desktop knows of a window on the test display, read with xprop,
// and a click into it with xdotool.
#include "tests/support/executable/PlayerProcess.h"

#include <string>

// The pid its program gave it (_NET_WM_PID); 0 when unknown.
int windowPid(const XWindow& window);
// Its WM_CLASS as xprop prints it: "instance", "class".
std::string windowClass(const XWindow& window);

// A left click at x, y of the window's area, in the display's pixels.
void clickAt(const XWindow& window, int x, int y);
