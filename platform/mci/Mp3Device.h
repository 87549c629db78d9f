#pragma once
// One open MCI device: an MP3 file, the sound output it plays into and the
// thread that plays it. Commands come from the user-interface thread and
// return at once: they change the device's state, and the playing thread
// follows. Status answers come from that state and the output's clock, so
// they never wait on the sound output either.
//
// A sound server that does not answer the open within a moment is treated
// as one lost while playing: the open succeeds, and sound starts once an
// output answers.
//
// When the output fails while playing (the sound server went away), the
// device stands where the sound stopped and still answers Playing; its
// thread opens an output again, and plays on from there once one opens. If
// none opens within a while, the track ends as if played to its end.
//
// The playing thread holds a share of the device, and only that thread
// touches the output: closing never waits for a thread stuck in a sound
// server that does not answer.
#include "platform/mci/Mci.h"
#include "platform/mci/Mp3Decoder.h"
#include "platform/audio_out/SoundOutput.h"
#include "platform/audio_out/SoundOutputOpener.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class Mp3Device : public std::enable_shared_from_this<Mp3Device> {
public:
    enum class Mode { Stopped, Playing, Paused };

    explicit Mp3Device(MCIDEVICEID id);
    ~Mp3Device();
    Mp3Device(const Mp3Device&) = delete;
    Mp3Device& operator=(const Mp3Device&) = delete;

    // Opens the file and a sound output for it; 0 or the MCI error. Once;
    // the device must be owned by a shared pointer.
    MCIERROR open(const std::string& path);
    // Ends playback; a pending notice is aborted. Waits for the playing
    // thread only briefly: one stuck in the sound output finishes on its own.
    void close();

    // notice: the window to post the completion notice to, or nullptr.
    void play(std::optional<DWORD> fromMs, HWND notice);
    MCIERROR resume(HWND notice);
    void pause();
    void stop();
    void seek(DWORD ms);

    MCIDEVICEID id() const { return id_; }
    DWORD lengthMs() const { return lengthMs_; }
    DWORD positionMs();
    Mode mode();

private:
    enum class RunEnd { Interrupted, Finished, OutputFailed };
    using Buffer = std::vector<unsigned char>;

    // The playing thread's.
    void run();
    void playFrom(std::uint64_t generation, std::int64_t start, Buffer& buffer);
    RunEnd playRun(std::uint64_t generation, Buffer& buffer);
    bool activate(std::uint64_t generation);
    bool interrupted(std::uint64_t generation);
    bool awaitOutput(std::uint64_t generation, std::chrono::steady_clock::time_point deadline, bool pauseFirst);
    std::optional<std::int64_t> outputLost(std::uint64_t generation);
    void finished(std::uint64_t generation);
    void giveUp(std::uint64_t generation);
    void endThread();

    // The callers hold mutex_.
    std::int64_t currentFrame() const;
    bool current(std::uint64_t generation) const { return !quit_ && generation_ == generation; }
    void startRun();
    void nextGeneration();
    void takeNotice(HWND notice, bool restarted);
    void endNotice(WPARAM code);

    const MCIDEVICEID id_;
    Mp3Decoder decoder_;  // the playing thread's, once open
    std::unique_ptr<SoundOutputOpener> opener_;  // the playing thread's, once open
    DWORD lengthMs_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable threadEnded_;
    std::unique_ptr<SoundOutput> output_;  // written under mutex_, by open and the playing thread
    Mode mode_ = Mode::Stopped;
    std::int64_t standFrame_ = 0;  // where it stands, or where the current run started
    std::uint64_t generation_ = 0;  // counts runs and interruptions
    std::uint64_t activeGeneration_ = 0;  // the run the output is playing
    HWND noticeWindow_ = nullptr;
    bool quit_ = false;
    bool ended_ = false;  // the playing thread has let go of the output

    std::thread thread_;
};
