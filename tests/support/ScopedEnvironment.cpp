#include "tests/support/ScopedEnvironment.h"

#include <cstdlib>

namespace {

std::optional<std::string> valueOf(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

void put(const char* name, const std::optional<std::string>& value)
{
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string* value) : name_(name), previous_(valueOf(name))
{
    put(name_, value != nullptr ? std::optional<std::string>(*value) : std::nullopt);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value)
    : ScopedEnvironment(name, &value)
{
}

ScopedEnvironment::~ScopedEnvironment() { put(name_, previous_); }

ScopedEnvironment ScopedEnvironment::removed(const char* name) { return ScopedEnvironment(name, nullptr); }

ScopedEnvironment ScopedEnvironment::appended(const char* name, const std::string& text)
{
    const std::string value = valueOf(name).value_or("") + text;
    return ScopedEnvironment(name, &value);
}

void ScopedEnvironment::set(const std::string& value) { put(name_, value); }
