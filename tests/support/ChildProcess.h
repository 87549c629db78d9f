#pragma once
// A program run by fork and exec, for tests that must not start children
// through QProcess: Qt 6.4 starts them with a vfork-like clone, and the child
// running in the parent's memory corrupts ThreadSanitizer's bookkeeping.
// A child is killed when the test thread that started it dies, so a crashed
// test leaves no daemon behind.
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

class ChildProcess {
public:
    // Starts arguments[0] (looked up in PATH); its standard output goes to
    // outputFile when one is named, else to /dev/null. An environment of
    // "NAME=value" entries replaces this process's own when one is given.
    explicit ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile = {},
                          const std::optional<std::vector<std::string>>& environment = std::nullopt);
    // Ends it (terminate) when it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    bool running();
    // SIGTERM, then SIGKILL when it has not ended within five seconds; reaps it.
    void terminate();
    // SIGKILL at once, as a crash would; reaps it.
    void kill();
    // Sends signal number (SIGSTOP, SIGCONT, ...) when it still runs.
    void sendSignal(int number);
    // Waits for its end; its exit code, or -1 when it did not exit normally.
    int wait();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end; its exit code, or -1.
int runProgram(const std::vector<std::string>& arguments);

// Runs a program to its end (at most limitMs) and answers its standard
// output; nothing when it failed, timed out or exited non-zero.
std::optional<std::string> captureProgram(const std::vector<std::string>& arguments, int limitMs = 5000);
