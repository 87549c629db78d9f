#pragma once
// Listens to what a PulseAudio sink plays, while it plays: parec on the
// sink's monitor, read as it arrives, turned into the sequence of tones
// heard (one pitch per track), so a test can follow a playlist from outside.
#include <QProcess>
#include <cstdint>
#include <string>
#include <vector>

class SinkListener {
public:
    // pitches: the tone of each track, in Hz.
    SinkListener(std::string sink, std::vector<double> pitches);
    ~SinkListener();
    SinkListener(const SinkListener&) = delete;
    SinkListener& operator=(const SinkListener&) = delete;

    // Starts parec and waits until its data flows.
    bool start();
    // Reads what has arrived. Answers the tracks heard, in order: a new
    // entry each time the tone changes (silence between tones is skipped).
    const std::vector<int>& heard();
    // How long the sound has been the last track's tone without a break, and
    // how long it has been silent, in ms, as of the last heard().
    int lastRunMs() const { return lastRunMs_; }
    int silentMs() const { return silentMs_; }

private:
    void take(const std::vector<std::int16_t>& window);

    std::string sink_;
    std::vector<double> pitches_;
    QProcess parec_;
    QByteArray pending_;
    std::vector<int> heard_;
    int lastRunMs_ = 0;
    int silentMs_ = 0;
};
