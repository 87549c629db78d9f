#pragma once
// One open MCI device: an MP3 file, the sound output it plays into and the
// thread that plays it. Commands come from the user-interface thread and
// return at once: they change the device's state, and the playing thread
// follows. Status answers come from that state and the output's clock, so
// they never wait on the sound output either.
#include "Mci.h"
#include "Mp3Decoder.h"
#include "SoundOutput.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class Mp3Device {
public:
    enum class Mode { Stopped, Playing, Paused };

    explicit Mp3Device(MCIDEVICEID id);
    // Stops the playing thread without posting any notice.
    ~Mp3Device();
    Mp3Device(const Mp3Device&) = delete;
    Mp3Device& operator=(const Mp3Device&) = delete;

    // Opens the file and a sound output for it; 0 or the MCI error. Once.
    MCIERROR open(const std::string& path);
    // Ends playback and the thread; a pending notice is aborted.
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
    void run();
    void playRun(std::uint64_t generation, unsigned char* buffer, std::size_t size);
    bool interrupted(std::uint64_t generation);
    bool reopenOutput();
    void finished(std::uint64_t generation);
    void outputFailed(std::uint64_t generation);

    // The callers hold mutex_.
    std::int64_t currentFrame() const;
    void startRun();
    void takeNotice(HWND notice, bool restarted);
    void endNotice(WPARAM code);

    const MCIDEVICEID id_;
    Mp3Decoder decoder_;  // the playing thread's, once open
    DWORD lengthMs_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::unique_ptr<SoundOutput> output_;  // written under mutex_, by open and the playing thread
    Mode mode_ = Mode::Stopped;
    std::int64_t standFrame_ = 0;  // where it stands, or where the current run started
    std::uint64_t generation_ = 0;  // counts runs and interruptions
    std::uint64_t activeGeneration_ = 0;  // the run the output is playing
    HWND noticeWindow_ = nullptr;
    bool quit_ = false;

    std::thread thread_;
};
