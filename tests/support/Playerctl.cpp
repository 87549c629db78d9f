#include "tests/support/Playerctl.h"

#include "tests/support/ChildProcess.h"

std::string playerctl(const std::vector<std::string>& arguments)
{
    std::vector<std::string> command{"playerctl", "-p", "kolviplayer"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::string out = captureProgram(command).value_or("(failed)");
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}
