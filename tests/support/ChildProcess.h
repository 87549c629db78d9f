#pragma once
// A program run by fork and exec, for tests that must not start children
// through QProcess: Qt 6.4 starts them with a vfork-like clone, and the child
// running in the parent's memory corrupts ThreadSanitizer's bookkeeping.
#include <string>
#include <vector>

#include <sys/types.h>

class ChildProcess {
public:
    // Starts arguments[0] (looked up in PATH); its standard output goes to
    // outputFile when one is named, else to /dev/null.
    explicit ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile = {});
    // Ends it (terminate) when it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    bool running();
    // SIGTERM, then SIGKILL when it has not ended within five seconds; reaps it.
    void terminate();
    // Waits for its end; its exit code, or -1 when it did not exit normally.
    int wait();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end; its exit code, or -1.
int runProgram(const std::vector<std::string>& arguments);
