#pragma once
// Stand-ins for programs that cannot run here (a web browser, xdg-open):
// small scripts, put first in this process's PATH, that record each start
// (arguments, working folder) into a file of its own and then wait until
// the test releases them.
#include "tests/support/ScopedEnvironment.h"

#include <QTemporaryDir>
#include <string>
#include <vector>

struct ProgramStart {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
};

class RecordingPrograms {
public:
    // Installs one recording script per name; throws std::runtime_error on failure.
    explicit RecordingPrograms(const std::vector<std::string>& names);
    // Releases the scripts still waiting; PATH comes back.
    ~RecordingPrograms();
    RecordingPrograms(const RecordingPrograms&) = delete;
    RecordingPrograms& operator=(const RecordingPrograms&) = delete;

    std::string folder() const { return dir_.path().toStdString(); }
    // The starts recorded so far, in no particular order.
    std::vector<ProgramStart> starts() const;
    // Waits (within a generous limit) until `count` starts are recorded.
    bool waitForStarts(std::size_t count, int limitMs = 30000) const;
    // How many started scripts have run to their end.
    int finished() const;
    // Lets the waiting scripts end.
    void release() const;

private:
    QTemporaryDir dir_;
    ScopedEnvironment path_;  // the scripts' folder first
};
