#include "tests/support/ScopedLocale.h"

#include <clocale>

ScopedLocale::ScopedLocale(const char* name)
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    previous_ = current ? current : "C";
    active_ = std::setlocale(LC_ALL, name) != nullptr;
}

ScopedLocale::~ScopedLocale()
{
    std::setlocale(LC_ALL, previous_.c_str());
}
