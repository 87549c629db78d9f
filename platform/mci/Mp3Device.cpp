#include "Mp3Device.h"

#include "SoundOutputFactory.h"
#include "WinMessage.h"

#include <algorithm>
#include <future>
#include <limits>
#include <vector>

namespace {

// About one MPEG frame of stereo samples: short enough that a command never
// waits long for the thread, long enough to cost little.
constexpr std::size_t ChunkBytes = 1152 * 2 * 2;

DWORD framesToMs(std::int64_t frames, long rate)
{
    const std::int64_t ms = frames * 1000 / rate;
    return static_cast<DWORD>(std::min<std::int64_t>(ms, std::numeric_limits<DWORD>::max()));
}

// Rounded up, so that the position of the frame found reads back as ms.
std::int64_t msToFrames(DWORD ms, long rate) { return (static_cast<std::int64_t>(ms) * rate + 999) / 1000; }

MCIERROR openError(Mp3Decoder::OpenResult result)
{
    switch (result) {
    case Mp3Decoder::OpenResult::Opened:
        return 0;
    case Mp3Decoder::OpenResult::NotFound:
        return MCIERR_FILE_NOT_FOUND;
    case Mp3Decoder::OpenResult::Unreadable:
        return MCIERR_FILE_READ;
    case Mp3Decoder::OpenResult::NotMpegAudio:
        return MCIERR_INVALID_FILE;
    case Mp3Decoder::OpenResult::DecoderUnavailable:
        break;
    }
    return MCIERR_CANNOT_LOAD_DRIVER;
}

}  // namespace

Mp3Device::Mp3Device(MCIDEVICEID id) : id_(id) {}

Mp3Device::~Mp3Device()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

MCIERROR Mp3Device::open(const std::string& path)
{
    if (const MCIERROR error = openError(decoder_.open(path)); error != 0)
        return error;
    // Connecting to the sound server and scanning the file each take a
    // while; done side by side the open waits only for the longer.
    auto opening = std::async(std::launch::async, [format = decoder_.format()] { return openSoundOutput(format); });
    const bool scanned = decoder_.scan();
    auto output = opening.get();
    if (!scanned)
        return MCIERR_INVALID_FILE;
    if (!output)
        return MCIERR_WAVE_OUTPUTSUNSUITABLE;
    output_ = std::move(output);
    lengthMs_ = framesToMs(decoder_.frames(), decoder_.format().rate);
    thread_ = std::thread(&Mp3Device::run, this);
    return 0;
}

void Mp3Device::close()
{
    {
        std::lock_guard lock(mutex_);
        endNotice(MCI_NOTIFY_ABORTED);
        quit_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

std::int64_t Mp3Device::currentFrame() const
{
    if (mode_ != Mode::Playing || activeGeneration_ != generation_ || !output_)
        return standFrame_;
    return std::min(standFrame_ + output_->heardFrames(), decoder_.frames());
}

void Mp3Device::startRun()
{
    mode_ = Mode::Playing;
    ++generation_;
    wake_.notify_all();
}

// A new notice request supersedes the pending one; a command that interrupts
// playback without asking for one aborts it.
void Mp3Device::takeNotice(HWND notice, bool restarted)
{
    if (notice != nullptr) {
        endNotice(MCI_NOTIFY_SUPERSEDED);
        noticeWindow_ = notice;
    } else if (restarted) {
        endNotice(MCI_NOTIFY_ABORTED);
    }
}

void Mp3Device::endNotice(WPARAM code)
{
    if (noticeWindow_ == nullptr)
        return;
    PostMessageA(noticeWindow_, MM_MCINOTIFY, code, static_cast<LPARAM>(id_));
    noticeWindow_ = nullptr;
}

void Mp3Device::play(std::optional<DWORD> fromMs, HWND notice)
{
    std::lock_guard lock(mutex_);
    const bool restart = fromMs.has_value() || mode_ != Mode::Playing;
    if (fromMs)
        standFrame_ = std::min(msToFrames(*fromMs, decoder_.format().rate), decoder_.frames());
    takeNotice(notice, restart);
    if (restart)
        startRun();
}

MCIERROR Mp3Device::resume(HWND notice)
{
    std::lock_guard lock(mutex_);
    if (mode_ == Mode::Stopped)
        return MCIERR_NONAPPLICABLE_FUNCTION;
    const bool restart = mode_ == Mode::Paused;
    takeNotice(notice, restart);
    if (restart)
        startRun();
    return 0;
}

void Mp3Device::pause()
{
    std::lock_guard lock(mutex_);
    if (mode_ != Mode::Playing)
        return;
    standFrame_ = currentFrame();
    mode_ = Mode::Paused;
    ++generation_;
    endNotice(MCI_NOTIFY_ABORTED);
    wake_.notify_all();
}

void Mp3Device::stop()
{
    std::lock_guard lock(mutex_);
    endNotice(MCI_NOTIFY_ABORTED);
    if (mode_ == Mode::Stopped)
        return;
    standFrame_ = currentFrame();
    mode_ = Mode::Stopped;
    ++generation_;
    wake_.notify_all();
}

void Mp3Device::seek(DWORD ms)
{
    std::lock_guard lock(mutex_);
    endNotice(MCI_NOTIFY_ABORTED);
    standFrame_ = std::min(msToFrames(ms, decoder_.format().rate), decoder_.frames());
    mode_ = Mode::Stopped;
    ++generation_;
    wake_.notify_all();
}

DWORD Mp3Device::positionMs()
{
    std::lock_guard lock(mutex_);
    const DWORD ms = framesToMs(currentFrame(), decoder_.format().rate);
    // Length is reached only once the output has played the last sample.
    if (mode_ == Mode::Playing && lengthMs_ > 0)
        return std::min(ms, lengthMs_ - 1);
    return ms;
}

Mp3Device::Mode Mp3Device::mode()
{
    std::lock_guard lock(mutex_);
    return mode_;
}

void Mp3Device::run()
{
    std::vector<unsigned char> buffer(ChunkBytes);
    std::uint64_t applied = 0;
    for (;;) {
        std::int64_t start = 0;
        bool playing = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || generation_ != applied; });
            if (quit_)
                return;
            applied = generation_;
            playing = mode_ == Mode::Playing;
            start = standFrame_;
        }
        // Whatever the last run left in the output is not to be heard now.
        if (output_)
            output_->drop();
        if (!playing)
            continue;
        if (!output_ && !reopenOutput()) {
            outputFailed(applied);
            continue;
        }
        decoder_.seek(start);
        {
            std::lock_guard lock(mutex_);
            if (generation_ == applied)
                activeGeneration_ = applied;
        }
        playRun(applied, buffer.data(), buffer.size());
    }
}

void Mp3Device::playRun(std::uint64_t generation, unsigned char* buffer, std::size_t size)
{
    while (!interrupted(generation)) {
        const Mp3Decoder::Chunk chunk = decoder_.read(buffer, size);
        if (chunk.bytes > 0 && output_->play(buffer, chunk.bytes) < chunk.bytes) {
            outputFailed(generation);
            return;
        }
        if (chunk.end) {
            output_->drain();
            finished(generation);
            return;
        }
    }
}

bool Mp3Device::interrupted(std::uint64_t generation)
{
    std::lock_guard lock(mutex_);
    return quit_ || generation_ != generation;
}

// After the output failed (the sound server went away), each play tries anew.
bool Mp3Device::reopenOutput()
{
    auto output = openSoundOutput(decoder_.format());
    if (!output)
        return false;
    std::lock_guard lock(mutex_);
    output_ = std::move(output);
    return true;
}

void Mp3Device::finished(std::uint64_t generation)
{
    std::lock_guard lock(mutex_);
    if (quit_ || generation_ != generation)
        return;
    // Also where a damaged or truncated file gave out early: the track is over.
    standFrame_ = decoder_.frames();
    mode_ = Mode::Stopped;
    endNotice(MCI_NOTIFY_SUCCESSFUL);
}

void Mp3Device::outputFailed(std::uint64_t generation)
{
    std::unique_ptr<SoundOutput> broken;  // let go outside the lock: closing may take a moment
    {
        std::lock_guard lock(mutex_);
        if (!quit_ && generation_ == generation) {
            standFrame_ = currentFrame();
            mode_ = Mode::Stopped;
            endNotice(MCI_NOTIFY_FAILURE);
        }
        broken = std::move(output_);
    }
}
