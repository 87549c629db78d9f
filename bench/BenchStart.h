#pragma once
// What the benchmarks check first, in one place: that they run under the
// test environment (scripts/with-test-env.sh), or that they were given the
// executable and have an X display to watch it on. Each says what is
// missing on stderr.
#include <X11/Xlib.h>
#include <memory>

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
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
