#include "framework/ScreenFit.h"

#include <algorithm>

QRect FitInside(const QRect& window, const QRect& area)
{
    if (area.isEmpty())
        return window;
    QRect fitted(window.topLeft(), window.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}
