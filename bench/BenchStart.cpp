#include "bench/BenchStart.h"

#include "platform/win/Modules.h"

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
