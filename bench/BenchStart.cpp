#include "bench/BenchStart.h"

#include "platform/win/Modules.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

namespace {

int ignoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool startUnderTestEnvironment()
{
    if (std::getenv("KOLVI_TEST_SINK") == nullptr) {
        std::fprintf(stderr, "run under scripts/with-test-env.sh\n");
        return false;
    }
    chooseModuleFolders({QStringLiteral(KOLVI_MODULE_FOLDER)});
    return true;
}

DisplayHandle startOnDisplay(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-kolviplayer\n", argv[0]);
        return nullptr;
    }
    DisplayHandle display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return nullptr;
    }
    XSetErrorHandler(ignoreError);
    return display;
}

void DisplayCloser::operator()(Display* display) const { XCloseDisplay(display); }

std::optional<long> windowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        data != nullptr && items == 1 && format == 32)
        pid = *reinterpret_cast<long*>(data);
    if (data != nullptr)
        XFree(data);
    return pid;
}

namespace {

std::string windowName(Display* display, Window window)
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) && name != nullptr)
        text = name;
    if (name != nullptr)
        XFree(name);
    return text;
}

}  // namespace

// A viewable top-level window of the process, named name when name is not empty.
std::optional<Window> windowOf(Display* display, long pid, const std::string& name)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            windowPid(display, children[i]) == pid && (name.empty() || windowName(display, children[i]) == name))
            found = children[i];
    }
    if (children != nullptr)
        XFree(children);
    return found;
}
