#pragma once
// A private PulseAudio daemon with one null sink, for tests that must stop
// and restart the sound server on their own. The suite-wide daemon started
// by scripts/test.sh serves every other test.
#include "tests/support/ChildProcess.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

class PulseDaemon {
public:
    explicit PulseDaemon(std::string sinkName = "kolvi_private");
    ~PulseDaemon();
    PulseDaemon(const PulseDaemon&) = delete;
    PulseDaemon& operator=(const PulseDaemon&) = delete;

    // Starts the daemon and waits until it answers; false when it did not.
    bool start();
    // Kills the daemon at once (SIGKILL), as a crash would.
    void kill();
    // Stops the daemon politely and waits for it.
    void stop();
    // Stops the daemon dead (SIGSTOP), as a hung server is: its clients'
    // connections stay open and nothing answers them. Until thaw (SIGCONT).
    void freeze();
    void thaw();
    bool running();

    // "unix:/…/native": the value for PULSE_SERVER or pactl -s.
    std::string server() const;
    const std::string& sinkName() const { return sinkName_; }

private:
    std::string sinkName_;
    QTemporaryDir dir_;
    std::unique_ptr<ChildProcess> process_;
};

// Runs pactl against a server; answers its standard output, empty on failure.
std::string pactl(const std::string& server, const QStringList& arguments);
