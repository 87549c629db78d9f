#include "tags/FileNameTitle.h"

#include "platform/files/CodePage.h"

std::string RemoveEveryOccurrence(const std::string& text, const std::string& pattern)
{
    if (pattern.empty())
        return text;
    const std::string upperText = AnsiUpperCase(text);
    const std::string upperPattern = AnsiUpperCase(pattern);
    std::string result;
    result.reserve(text.size());
    // Stepping a whole character at a time keeps a match from starting on
    // the second byte of a double-byte character.
    for (std::size_t at = 0; at < text.size();) {
        if (upperText.compare(at, upperPattern.size(), upperPattern) == 0) {
            at += upperPattern.size();
            continue;
        }
        const std::size_t length = characterLength(text, at);
        result.append(text, at, length);
        at += length;
    }
    return result;
}

std::string TitleFromFileName(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return name;
    return RemoveEveryOccurrence(name, name.substr(dot));
}
