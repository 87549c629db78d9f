#pragma once
// What a sink plays, as the tracks heard: a monitor recording read while it
// records, turned into the sequence of tones heard (one pitch per track), so
// a test can follow a playlist from outside.
#include "tests/support/MonitorRecorder.h"
#include "tests/support/ToneAnalysis.h"

#include <vector>

class HeardTracks {
public:
    // recorder: started, and living as long as this; pitches: the tone of each track, in Hz.
    HeardTracks(MonitorRecorder& recorder, std::vector<double> pitches);

    // Takes what the recorder has recorded since. Answers the tracks heard, in
    // order: a new entry each time the tone changes (silence between tones is
    // skipped).
    const std::vector<int>& heard();
    // How long the sound has been the last track's tone without a break, and
    // how long it has been silent, in ms, as of the last heard().
    int lastRunMs() const { return lastRunMs_; }
    int silentMs() const { return silentMs_; }

private:
    void take(const Samples& window);

    MonitorRecorder& recorder_;
    std::vector<double> pitches_;
    Samples pending_;
    std::vector<int> heard_;
    int lastRunMs_ = 0;
    int silentMs_ = 0;
};
