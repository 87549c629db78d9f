#include "tests/support/executable/WindowFacts.h"

#include "tests/support/ChildProcess.h"

#include <cstdlib>

namespace {

// The value xprop prints after "NAME(TYPE) = ", without the line's end.
std::string propertyValue(const XWindow& window, const char* property)
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

int windowPid(const XWindow& window) { return std::atoi(propertyValue(window, "_NET_WM_PID").c_str()); }

std::string windowClass(const XWindow& window) { return propertyValue(window, "WM_CLASS"); }

void clickAt(const XWindow& window, int x, int y)
{
    runXdotool({"mousemove", QString::number(window.x + x), QString::number(window.y + y)});
    runXdotool({"click", "1"});
}
