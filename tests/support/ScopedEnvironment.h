#pragma once
// Sets (or removes) an environment variable of the test's process, and so of
// every program it starts, for one test; the earlier value (or none) comes
// back with the end of the scope. The one way a test changes its
// environment:
//
//     ScopedEnvironment server("PULSE_SERVER", daemon.server());
//     const ScopedEnvironment sandbox = ScopedEnvironment::removed("QTWEBENGINE_DISABLE_SANDBOX");
//     const ScopedEnvironment flags = ScopedEnvironment::appended("QTWEBENGINE_CHROMIUM_FLAGS", " --flag");
#include <optional>
#include <string>

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // The variable unset for the scope.
    static ScopedEnvironment removed(const char* name);
    // The variable's value (empty when unset) followed by text.
    static ScopedEnvironment appended(const char* name, const std::string& text);

    // Gives the variable another value within the same scope.
    void set(const std::string& value);

private:
    // value nullptr: unset.
    ScopedEnvironment(const char* name, const std::string* value);

    const char* name_;
    std::optional<std::string> previous_;
};
