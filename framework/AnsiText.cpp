#include "AnsiText.h"

#include "CodePage.h"

#include <vector>

QString FromAnsi(std::string_view text)
{
    if (text.empty())
        return {};
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    std::vector<char16_t> wide(static_cast<std::size_t>(units));
    const int written = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, wide.data(), units);
    return QString::fromUtf16(wide.data(), written);
}
