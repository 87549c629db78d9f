#include "platform/shell/UriList.h"

#include <climits>
#include <optional>
#include <unistd.h>

namespace {

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool isThisMachine(std::string_view host)
{
    if (host.empty() || equalIgnoringAsciiCase(host, "localhost"))
        return true;
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof name - 1) == 0 && equalIgnoringAsciiCase(host, name);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A '%' without two hex digits after it stands for itself.
std::string percentDecoded(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

std::optional<std::string> localFileOf(std::string_view uri)
{
    const auto colon = uri.find(':');
    if (colon == std::string_view::npos || !equalIgnoringAsciiCase(uri.substr(0, colon), "file"))
        return std::nullopt;
    std::string_view rest = uri.substr(colon + 1);
    if (rest.starts_with("//")) {
        const auto pathStart = rest.find('/', 2);
        if (pathStart == std::string_view::npos || !isThisMachine(rest.substr(2, pathStart - 2)))
            return std::nullopt;
        rest.remove_prefix(pathStart);
    }
    if (!rest.starts_with('/'))
        return std::nullopt;
    // A query or fragment is no part of the file's name; senders escape a
    // literal '?' or '#' as %3F and %23.
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string path = percentDecoded(rest);
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

}  // namespace

std::vector<std::string> localFilesOfUriList(std::string_view uriList)
{
    std::vector<std::string> files;
    while (!uriList.empty()) {
        const auto end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.starts_with('#'))
            continue;
        if (auto file = localFileOf(line))
            files.push_back(std::move(*file));
    }
    return files;
}
