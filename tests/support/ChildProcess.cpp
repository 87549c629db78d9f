#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::string& outputFile)
{
    // Everything the child needs is made before the fork: after it, only exec.
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* output = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    pid_ = ::fork();
    if (pid_ == 0) {
        const int fd = ::open(output, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0)
            ::dup2(fd, STDOUT_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() { terminate(); }

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
    if (running()) {
        ::kill(pid_, SIGKILL);
        wait();
    }
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
