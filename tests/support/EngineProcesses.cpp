#include "tests/support/EngineProcesses.h"

#include "tests/support/ProcessTree.h"

#include <fstream>
#include <string>
#include <unistd.h>

int webEngineHelperProcesses()
{
    int count = 0;
    for (const ProcessInfo& process : descendantsOf(getpid()))
        count += process.name.starts_with("QtWebEngine") ? 1 : 0;
    return count;
}

bool webEngineLibraryLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libQt6WebEngineCore") != std::string::npos)
            return true;
    return false;
}
