#pragma once
// Sound through the sound server's own client library (PulseAudio, or
// PipeWire's PulseAudio service), kept cheap while playing: the server holds
// a long buffer, and samples go over in batches only when it has asked for a
// large part of it, so the process wakes about once a second. A pause, stop
// or seek is not slowed by the long buffer: drop() flushes it at once, and
// interrupt() frees a playing thread waiting for room.
#include "platform/audio_out/SampleClock.h"
#include "platform/audio_out/SoundOutput.h"

#include <atomic>
#include <memory>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

class PulseOutput : public SoundOutput {
public:
    // Connected and streaming format, or nullptr when no server answers.
    static std::unique_ptr<PulseOutput> open(const AudioFormat& format);
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    std::size_t play(unsigned char* data, std::size_t bytes) override;
    void drain() override;
    void drop() override;
    void interrupt() override;
    std::int64_t heardFrames() const override;

private:
    explicit PulseOutput(const AudioFormat& format);
    bool connect();
    bool awaitStream(const std::atomic<bool>& expired);
    // Callers hold the main loop's lock.
    bool usable() const;
    bool send(std::size_t atLeast);

    const AudioFormat format_;
    const std::size_t requestBytes_;
    SampleClock clock_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::vector<unsigned char> staged_;  // taken, not yet sent: the playing thread's
    bool sentSinceDrop_ = false;          // the playing thread's
    // Set and cleared under the main loop's lock, so that a waiting thread
    // never misses it; atomic as that lock is the library's, unseen by
    // ThreadSanitizer.
    std::atomic<bool> interrupted_ = false;
};
