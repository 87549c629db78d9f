#pragma once
// Keeping windows on the screen: a window placed where it was designed
// stays there when it fits; otherwise it is moved inside the screen's
// available area (without the panels), and made smaller only where it is
// larger than that area.
#include <QRect>

// The outer rectangle window moved, and shrunk where needed, to lie inside area.
QRect FitInside(const QRect& window, const QRect& area);
