#include "tests/support/ChildProcess.h"

#include "platform/files/UniqueFd.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

struct ExecArguments {
    std::vector<char*> argv;
    std::vector<char*> envp;
    bool ownEnvironment = false;
};

// Everything the child needs is made before the fork: after it, only
// async-signal-safe calls and exec.
ExecArguments execArguments(const std::vector<std::string>& arguments,
                            const std::optional<std::vector<std::string>>& environment)
{
    ExecArguments exec;
    for (const auto& argument : arguments)
        exec.argv.push_back(const_cast<char*>(argument.c_str()));
    exec.argv.push_back(nullptr);
    if (environment) {
        exec.ownEnvironment = true;
        for (const auto& entry : *environment)
            exec.envp.push_back(const_cast<char*>(entry.c_str()));
        exec.envp.push_back(nullptr);
    }
    return exec;
}

[[noreturn]] void execInChild(ExecArguments& exec, int outputFd)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (outputFd >= 0)
        ::dup2(outputFd, STDOUT_FILENO);
    if (exec.ownEnvironment)
        ::execvpe(exec.argv[0], exec.argv.data(), exec.envp.data());
    else
        ::execvp(exec.argv[0], exec.argv.data());
    ::_exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile,
                           const std::optional<std::vector<std::string>>& environment)
{
    ExecArguments exec = execArguments(arguments, environment);
    const char* output = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    pid_ = ::fork();
    if (pid_ == 0)
        execInChild(exec, ::open(output, O_WRONLY | O_CREAT | O_TRUNC, 0600));
}

ChildProcess::~ChildProcess() { terminate(); }

void ChildProcess::sendSignal(int number)
{
    if (running())
        ::kill(pid_, number);
}

bool ChildProcess::running()
{
    if (pid_ <= 0)
        return false;
    if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void ChildProcess::terminate()
{
    if (!running())
        return;
    ::kill(pid_, SIGTERM);
    for (int attempt = 0; attempt < 500 && running(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill();
}

void ChildProcess::kill()
{
    if (!running())
        return;
    ::kill(pid_, SIGKILL);
    wait();
}

int ChildProcess::wait()
{
    if (pid_ > 0 && ::waitpid(pid_, &status_, 0) == pid_)
        pid_ = -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int runProgram(const std::vector<std::string>& arguments)
{
    ChildProcess child(arguments);
    return child.started() ? child.wait() : -1;
}

std::optional<std::string> captureProgram(const std::vector<std::string>& arguments, int limitMs)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const UniqueFd reading(fds[0]);
    UniqueFd writing(fds[1]);
    ExecArguments exec = execArguments(arguments, std::nullopt);
    const pid_t pid = ::fork();
    if (pid == 0)
        execInChild(exec, writing.get());
    // Only the child writes: its end is the pipe's end.
    writing = UniqueFd();
    if (pid < 0)
        return std::nullopt;
    std::string output;
    bool complete = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd readable{reading.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[4096];
        const ssize_t got = ::read(reading.get(), buffer, sizeof buffer);
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
    if (!complete)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}
