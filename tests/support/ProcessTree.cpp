#include "tests/support/ProcessTree.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace {

// A "Key: value kB" line of a /proc file of the process.
long kbField(pid_t pid, const char* file, const std::string& key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string word;
    while (in >> word) {
        if (word == key) {
            long kb = 0;
            in >> kb;
            return kb;
        }
        in.ignore(1 << 20, '\n');
    }
    return 0;
}

bool readStat(pid_t pid, ProcessInfo& info)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return false;
    // "pid (name) state ppid ..."; the name itself may hold spaces or parentheses.
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos)
        return false;
    info.pid = pid;
    info.name = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    rest >> state >> info.parent;
    info.rssKb = residentKb(pid);
    return true;
}

}  // namespace

long residentKb(pid_t pid) { return kbField(pid, "status", "VmRSS:"); }

long proportionalKb(pid_t pid) { return kbField(pid, "smaps_rollup", "Pss:"); }

TreeMemory memoryOfTree(pid_t root)
{
    TreeMemory memory{residentKb(root), proportionalKb(root), 1};
    for (const ProcessInfo& process : descendantsOf(root)) {
        memory.rssKb += process.rssKb;
        memory.pssKb += proportionalKb(process.pid);
        ++memory.processes;
    }
    return memory;
}

std::vector<std::string> commandLineOf(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(in, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

std::vector<ProcessInfo> descendantsOf(pid_t root)
{
    std::map<pid_t, ProcessInfo> all;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc)
        return {};
    while (const dirent* entry = readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        ProcessInfo info;
        if (*end == '\0' && pid > 0 && readStat(static_cast<pid_t>(pid), info))
            all[info.pid] = info;
    }
    std::vector<ProcessInfo> found;
    for (const auto& [pid, info] : all) {
        // Bounded: a pid reused while /proc was read could close a loop.
        pid_t up = info.parent;
        for (std::size_t steps = 0; up > 1 && up != root && all.count(up) && steps < all.size(); ++steps)
            up = all[up].parent;
        if (up == root && pid != root)
            found.push_back(info);
    }
    return found;
}
