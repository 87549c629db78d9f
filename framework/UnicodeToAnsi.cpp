#include "UnicodeToAnsi.h"

#include <QList>
#include <QString>
#include <climits>
#include <cwchar>

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
