#pragma once
// What the benchmarks check first, in one place: that they run under the
// test environment (scripts/with-test-env.sh), or that they were given the
// executable and have an X display to watch it on. Each says what is
// missing on stderr.
#include <memory>
#include <optional>
#include <string>

// Xlib's own names for what is used here, without its header: its macros
// (Status, Bool, None) break Qt's headers included after it.
typedef struct _XDisplay Display;
typedef unsigned long Window;

struct DisplayCloser {
    void operator()(Display* display) const;
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// For benchmarks that play into the test sink or show the lyrics window:
// false when not under the test environment. The program's modules are
// then found where the build put them.
bool startUnderTestEnvironment();

// For benchmarks of the real executable, named as their one argument: the
// display, with errors about windows that vanished while looked at ignored;
// nullptr when the argument or the display is missing.
DisplayHandle startOnDisplay(int argc, char** argv);

// The process that owns a top-level window, by its _NET_WM_PID; nothing
// when the window does not say.
std::optional<long> windowPid(Display* display, Window window);

// A viewable top-level window of the process, named name when name is not
// empty.
std::optional<Window> windowOf(Display* display, long pid, const std::string& name);
