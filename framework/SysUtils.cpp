#include "framework/SysUtils.h"

#include "framework/Exception.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// memrchr looks at many bytes a step: a long playlist takes each of its names apart.
std::string_view::size_type LastSlash(std::string_view path)
{
    const void* slash = path.empty() ? nullptr : ::memrchr(path.data(), '/', path.size());
    return slash == nullptr ? std::string_view::npos : static_cast<const char*>(slash) - path.data();
}

std::optional<int> DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    if (value < 0 || value >= base)
        return std::nullopt;
    return value;
}

// The digits as a number no greater than limit, or nothing.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base, std::uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto digit = DigitValue(c, base);
        if (!digit)
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(*digit);
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

std::optional<int> ParseInteger(std::string_view text)
{
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        const auto value = ParseDigits(text.substr(1), 16, UINT32_MAX);
        return value ? std::optional<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*value))) : std::nullopt;
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        const auto value = ParseDigits(text.substr(2), 16, UINT32_MAX);
        return value ? std::optional<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*value))) : std::nullopt;
    }
    bool negative = false;
    if (text.starts_with('-') || text.starts_with('+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::uint64_t limit = negative ? std::uint64_t{INT32_MAX} + 1 : std::uint64_t{INT32_MAX};
    const auto value = ParseDigits(text, 10, limit);
    if (!value)
        return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(*value);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

int StrToInt(std::string_view text)
{
    if (const auto value = ParseInteger(text))
        return *value;
    RaiseNotAnInteger(text);
}

void RaiseNotAnInteger(std::string_view text)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::string Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string ExtractFileName(std::string_view path)
{
    const auto slash = LastSlash(path);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFilePath(std::string_view path)
{
    const auto slash = LastSlash(path);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}
