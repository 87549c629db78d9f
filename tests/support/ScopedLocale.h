#pragma once
// Switches the C library's locale (LC_ALL) for one test and restores the
// previous one afterwards.
#include <string>

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale is not installed on this machine.
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

// Installed names of the locales the byte-rule tests use.
constexpr const char* Utf8Locale = "C.UTF-8";
constexpr const char* Cp949Locale = "ko_KR.CP949";
