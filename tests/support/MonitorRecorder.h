#pragma once
// Records what a PulseAudio sink plays, from its monitor source, with parec
// into a file: 16-bit stereo at 44100 Hz, bit-exact against what was played
// into the sink at that format.
#include "tests/support/ChildProcess.h"

#include <QTemporaryDir>
#include <cstdint>
#include <ios>
#include <memory>
#include <string>
#include <vector>

class MonitorRecorder {
public:
    explicit MonitorRecorder(std::string sink);
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Starts parec and waits until the monitor's data flows; false if it never does.
    bool start();
    // While it records: the samples that arrived since the last call (since
    // the start at first), whole frames, channels interleaved.
    std::vector<std::int16_t> arrived();
    // Ends the recording; all its samples, channels interleaved.
    std::vector<std::int16_t> stop();

private:
    std::string file() const;

    std::string sink_;
    QTemporaryDir dir_;
    std::unique_ptr<ChildProcess> parec_;
    std::streamoff taken_ = 0;
};
