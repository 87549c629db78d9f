#include "framework/AnsiText.h"

#include "platform/files/CodePage.h"

#include <QList>
#include <climits>
#include <cwchar>
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

std::string ToAnsi(QStringView text)
{
    std::string bytes;
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (const uint character : text.toUcs4()) {
        const std::size_t length = std::wcrtomb(buffer, static_cast<wchar_t>(character), &state);
        if (length == static_cast<std::size_t>(-1)) {
            state = std::mbstate_t{};
            bytes += '?';
        } else {
            bytes.append(buffer, length);
        }
    }
    return bytes;
}
