#pragma once
// Processes as /proc shows them: a process's descendants, their memory and
// command lines, for tests and benchmarks that must know whether the web
// engine has started its helper processes and what the whole tree costs in
// memory.
#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessInfo {
    pid_t pid = 0;
    pid_t parent = 0;
    std::string name;  // the kernel's short command name
    long rssKb = 0;
};

struct TreeMemory {
    long rssKb = 0;  // resident, summed: a page several processes share counts in each
    long pssKb = 0;  // proportional, summed: a shared page is split between its processes
    int processes = 0;
};

// Every process whose chain of parents leads to `root` (root not included).
std::vector<ProcessInfo> descendantsOf(pid_t root);
// Resident memory of one process in kilobytes, 0 when it is gone.
long residentKb(pid_t pid);
// Proportional memory of one process in kilobytes (each page it shares
// divided by the number of processes sharing it), 0 when it is gone.
long proportionalKb(pid_t pid);
// The memory of root and of every process below it.
TreeMemory memoryOfTree(pid_t root);
// A process's command line, an argument each; empty when it is gone.
std::vector<std::string> commandLineOf(pid_t pid);
