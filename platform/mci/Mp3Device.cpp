#include "platform/mci/Mp3Device.h"

#include "platform/audio_out/SoundOutputFactory.h"
#include "platform/win/Logging.h"
#include "platform/win/WinMessage.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace {

// About one MPEG frame of stereo samples: short enough that a command never
// waits long for the thread, long enough to cost little.
constexpr std::size_t ChunkBytes = 1152 * 2 * 2;

// After the output failed: how often another is tried, and for how long
// before the track counts as over. A restarting sound server is back well
// within that; the playlist moves on if nothing comes back.
using Clock = std::chrono::steady_clock;
constexpr auto RetryInterval = std::chrono::milliseconds(250);
constexpr auto GiveUpAfter = std::chrono::seconds(30);

// How long opening waits for a sound output before it leaves the output to
// the playing thread: a working server answers within a few milliseconds,
// and without any server every output fails well within it, so that the
// open can say there is none. A server that took the connection but has
// not answered is waited for only SilentServerWait: the window waits no
// longer than a moment for one that does not answer.
constexpr auto OutputWait = std::chrono::milliseconds(250);
constexpr auto SilentServerWait = std::chrono::milliseconds(150);

// How long closing waits for the playing thread to let go of its output:
// at once unless the sound server does not answer.
constexpr auto CloseWait = std::chrono::milliseconds(200);

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
    // The thread holds a share until it ends, so it is over or it is this one.
    if (thread_.joinable())
        thread_.detach();
}

MCIERROR Mp3Device::open(const std::string& path)
{
    if (const MCIERROR error = openError(decoder_.open(path)); error != 0)
        return error;
    // Connecting to the sound server and scanning the file each take a
    // while; done side by side the open waits only for the longer. A server
    // still silent after OutputWait counts as lost: the playing thread
    // waits for it, as for one that went away while playing.
    opener_ = std::make_unique<SoundOutputOpener>(decoder_.format());
    const auto started = Clock::now();
    const bool scanned = decoder_.scan();
    auto opened = opener_->await(started + OutputWait, started + SilentServerWait);
    if (!opened.output && !opened.pending)
        qCWarning(mciLog) << "none of the sound outputs" << soundOutputs().chosen().c_str() << "opened";
    if (!scanned)
        return MCIERR_INVALID_FILE;
    if (!opened.output && !opened.pending)
        return MCIERR_WAVE_OUTPUTSUNSUITABLE;
    output_ = std::move(opened.output);
    lengthMs_ = framesToMs(decoder_.frames(), decoder_.format().rate);
    thread_ = std::thread([self = shared_from_this()] { self->run(); });
    return 0;
}

void Mp3Device::close()
{
    std::unique_lock lock(mutex_);
    endNotice(MCI_NOTIFY_ABORTED);
    quit_ = true;
    if (output_)
        output_->interrupt();
    wake_.notify_all();
    if (!thread_.joinable())
        return;
    const bool ended = threadEnded_.wait_for(lock, CloseWait, [this] { return ended_; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach();
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
    nextGeneration();
}

// Whatever the playing thread is doing is over: it may be waiting for room in
// the output, which a command must not wait for.
void Mp3Device::nextGeneration()
{
    ++generation_;
    if (output_)
        output_->interrupt();
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
    endNotice(MCI_NOTIFY_ABORTED);
    nextGeneration();
}

void Mp3Device::stop()
{
    std::lock_guard lock(mutex_);
    endNotice(MCI_NOTIFY_ABORTED);
    if (mode_ == Mode::Stopped)
        return;
    standFrame_ = currentFrame();
    mode_ = Mode::Stopped;
    nextGeneration();
}

void Mp3Device::seek(DWORD ms)
{
    std::lock_guard lock(mutex_);
    endNotice(MCI_NOTIFY_ABORTED);
    standFrame_ = std::min(msToFrames(ms, decoder_.format().rate), decoder_.frames());
    mode_ = Mode::Stopped;
    nextGeneration();
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
    Buffer buffer(ChunkBytes);
    std::uint64_t applied = 0;
    for (;;) {
        std::int64_t start = 0;
        bool playing = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || generation_ != applied; });
            if (quit_)
                break;
            applied = generation_;
            playing = mode_ == Mode::Playing;
            start = standFrame_;
        }
        // Whatever the last run left in the output is not to be heard now.
        if (output_)
            output_->drop();
        if (playing)
            playFrom(applied, start, buffer);
    }
    endThread();
}

// Plays one run from start until it is interrupted or the file ends; an
// output that fails on the way is replaced, and playing goes on from what
// was heard. The run is given up once no output has played anything for
// GiveUpAfter.
void Mp3Device::playFrom(std::uint64_t generation, std::int64_t start, Buffer& buffer)
{
    auto deadline = Clock::now() + GiveUpAfter;
    bool progressed = true;
    for (;;) {
        // An output that opens but takes nothing is not tried again at once.
        if (!output_ && !awaitOutput(generation, deadline, !progressed))
            return;
        decoder_.seek(start);
        if (!activate(generation) || playRun(generation, buffer) != RunEnd::OutputFailed)
            return;
        const auto heard = outputLost(generation);
        if (!heard)
            return;
        progressed = *heard > start;
        if (progressed)
            deadline = Clock::now() + GiveUpAfter;
        start = *heard;
    }
}

Mp3Device::RunEnd Mp3Device::playRun(std::uint64_t generation, Buffer& buffer)
{
    while (!interrupted(generation)) {
        const Mp3Decoder::Chunk chunk = decoder_.read(buffer.data(), buffer.size());
        // Short also when a command interrupted it.
        if (chunk.bytes > 0 && output_->play(buffer.data(), chunk.bytes) < chunk.bytes)
            return interrupted(generation) ? RunEnd::Interrupted : RunEnd::OutputFailed;
        if (chunk.end) {
            output_->drain();
            finished(generation);
            return RunEnd::Finished;
        }
    }
    return RunEnd::Interrupted;
}

bool Mp3Device::activate(std::uint64_t generation)
{
    std::lock_guard lock(mutex_);
    if (!current(generation))
        return false;
    activeGeneration_ = generation;
    return true;
}

bool Mp3Device::interrupted(std::uint64_t generation)
{
    std::lock_guard lock(mutex_);
    return !current(generation);
}

// Tries the outputs again and again, in the order of a first open, until one
// opens (true) or the run is interrupted or given up at deadline (false).
// pauseFirst: the first try, too, comes only after a pause. An attempt that
// does not answer is waited for a slice at a time, to notice commands.
bool Mp3Device::awaitOutput(std::uint64_t generation, Clock::time_point deadline, bool pauseFirst)
{
    for (bool pause = pauseFirst;; pause = true) {
        if (pause) {
            std::unique_lock lock(mutex_);
            const auto retry = std::min(Clock::now() + RetryInterval, deadline);
            if (wake_.wait_until(lock, retry, [&] { return !current(generation); }))
                return false;
            if (Clock::now() >= deadline) {
                qCWarning(mciLog) << "no sound output came back in time: the track stops";
                giveUp(generation);
                return false;
            }
        }
        for (;;) {
            auto opened = opener_->await(std::min(Clock::now() + RetryInterval, deadline));
            std::lock_guard lock(mutex_);
            if (opened.output) {
                // Kept even when the run was interrupted meanwhile: the next one needs it.
                output_ = std::move(opened.output);
                return current(generation);
            }
            if (!opened.pending)
                break;
            if (!current(generation))
                return false;
            if (Clock::now() >= deadline) {
                giveUp(generation);
                return false;
            }
        }
    }
}

// Where the run stands after its output failed: what was heard, or nothing
// when the run was interrupted anyway. The output goes.
std::optional<std::int64_t> Mp3Device::outputLost(std::uint64_t generation)
{
    std::unique_ptr<SoundOutput> broken;  // let go outside the lock: closing may take a moment
    std::optional<std::int64_t> heard;
    {
        std::lock_guard lock(mutex_);
        if (current(generation)) {
            standFrame_ = currentFrame();
            heard = standFrame_;
        }
        activeGeneration_ = 0;
        broken = std::move(output_);
    }
    return heard;
}

void Mp3Device::finished(std::uint64_t generation)
{
    std::lock_guard lock(mutex_);
    if (!current(generation))
        return;
    // Also where a damaged or truncated file gave out early: the track is over.
    standFrame_ = decoder_.frames();
    mode_ = Mode::Stopped;
    endNotice(MCI_NOTIFY_SUCCESSFUL);
}

// No output came back: the track ends, so that its player moves on. The
// caller holds mutex_.
void Mp3Device::giveUp(std::uint64_t generation)
{
    if (!current(generation))
        return;
    standFrame_ = decoder_.frames();
    mode_ = Mode::Stopped;
    endNotice(MCI_NOTIFY_FAILURE);
}

void Mp3Device::endThread()
{
    std::unique_ptr<SoundOutput> output;
    {
        std::lock_guard lock(mutex_);
        activeGeneration_ = 0;
        output = std::move(output_);
    }
    // Here, not on the closing thread: a sound server that does not answer
    // holds up only this thread.
    output.reset();
    std::lock_guard lock(mutex_);
    ended_ = true;
    threadEnded_.notify_all();
}
