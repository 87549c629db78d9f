#pragma once
// This process's descendants as /proc shows them, for tests and benchmarks
// that must know whether the web engine has started its helper processes
// and what the whole tree costs in memory.
#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessInfo {
    pid_t pid = 0;
    pid_t parent = 0;
    std::string name;  // the kernel's short command name
    long rssKb = 0;
};

// Every process whose chain of parents leads to `root` (root not included).
std::vector<ProcessInfo> descendantsOf(pid_t root);
// Resident memory of one process in kilobytes, 0 when it is gone.
long residentKb(pid_t pid);
