#include "tests/support/executable/WindowFacts.h"

#include "tests/support/ChildProcess.h"

#include <cstdlib>

namespace {

// The value xprop prints after "NAME(TYPE) = ", without the line's end.
std::string PropertyValue(const XWindow& window, const char* property)
{
    const auto out = captureProgram({"xprop", "-id", std::to_string(window.id), property});
    if (!out)
        return {};
    const auto equals = out->find("= ");
    if (equals == std::string::npos)
        return {};
    std::string value = out->substr(equals + 2);
    while (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

}  // namespace

int WindowPid(const XWindow& window) { return std::atoi(PropertyValue(window, "_NET_WM_PID").c_str()); }

std::string WindowClass(const XWindow& window) { return PropertyValue(window, "WM_CLASS"); }

void ClickAt(const XWindow& window, int x, int y)
{
    RunXdotool({"mousemove", QString::number(window.x + x), QString::number(window.y + y)});
    RunXdotool({"click", "1"});
}
