// Every test binary runs inside a QApplication, on the test's own thread,
// as the player does. Listing the cases (CTest's discovery at build time)
// needs no display, so no application is made for it. The program's modules
// are found where the build put them, beside the player.
#include "platform/win/Modules.h"

#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    std::unique_ptr<QApplication> app;
    if (!listing)
        app = std::make_unique<QApplication>(argc, argv);
    chooseModuleFolders({QStringLiteral(KOLVI_MODULE_FOLDER)});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
