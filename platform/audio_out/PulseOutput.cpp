#include "platform/audio_out/PulseOutput.h"

#include "platform/audio_out/SoundOutputOpener.h"
#include "platform/win/Logging.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>

namespace {

// The part of the server's buffer sent at a time: long enough that the
// process sleeps most of the time, short enough to keep memory small. It
// delays nothing heard, as commands flush the buffer.
constexpr long RequestMs = 1000;
// What the sink mixes ahead: the server takes it from the buffer beyond two
// requests. Shorter makes the server wake more often; longer, on a sink that
// cannot take back what it has mixed, delays a pause.
constexpr long SinkMs = 50;
constexpr long BufferMs = 2 * RequestMs + SinkMs;
// A server that has not set up the stream by then is not answering (stopped,
// or wedged behind a socket that still accepts): the output fails, so that
// another can be tried.
constexpr pa_usec_t ConnectDeadlineUs = 1000 * PA_USEC_PER_MSEC;

void signalLoop(void* loop) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0); }

void contextChanged(pa_context*, void* loop) { signalLoop(loop); }
void streamChanged(pa_stream*, void* loop) { signalLoop(loop); }
void streamWants(pa_stream*, std::size_t, void* loop) { signalLoop(loop); }
void operationDone(pa_stream*, int, void* loop) { signalLoop(loop); }

struct ConnectTimer {
    pa_threaded_mainloop* loop;
    std::atomic<bool> expired = false;  // atomic for the same reason as interrupted_
};

void connectExpired(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* timer)
{
    auto* self = static_cast<ConnectTimer*>(timer);
    self->expired = true;
    signalLoop(self->loop);
}

// Says which step of connecting failed, in the library's words; answers false.
bool failed(const char* step, pa_context* context)
{
    qCWarning(audioLog) << "PulseAudio:" << step << "failed:"
                        << (context != nullptr ? pa_strerror(pa_context_errno(context)) : "out of memory");
    return false;
}

}  // namespace

std::unique_ptr<PulseOutput> PulseOutput::open(const AudioFormat& format)
{
    std::unique_ptr<PulseOutput> output(new PulseOutput(format));
    return output->connect() ? std::move(output) : nullptr;
}

PulseOutput::PulseOutput(const AudioFormat& format)
    : format_(format),
      requestBytes_(static_cast<std::size_t>(format.rate * RequestMs / 1000) * format.bytesPerFrame()),
      clock_(format.rate)
{
}

bool PulseOutput::connect()
{
    loop_ = pa_threaded_mainloop_new();
    if (loop_ == nullptr)
        return failed("pa_threaded_mainloop_new", nullptr);
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "KolviPlayer");
    if (context_ == nullptr)
        return failed("pa_context_new", nullptr);
    pa_context_set_state_callback(context_, &contextChanged, loop_);
    // A music player starts no sound server of its own.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return failed("pa_context_connect", context_);
    ConnectTimer timer{loop_};
    pa_threaded_mainloop_lock(loop_);
    pa_time_event* deadline = pa_context_rttime_new(context_, pa_rtclock_now() + ConnectDeadlineUs, &connectExpired, &timer);
    const bool ready = deadline != nullptr && pa_threaded_mainloop_start(loop_) >= 0 && awaitStream(timer.expired);
    if (deadline != nullptr)
        pa_threaded_mainloop_get_api(loop_)->time_free(deadline);
    pa_threaded_mainloop_unlock(loop_);
    return ready;
}

// Waits with the main loop's lock held until the stream plays, fails or
// expired is set.
bool PulseOutput::awaitStream(const std::atomic<bool>& expired)
{
    for (bool reached = false;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY)
            break;
        // Connected: a server is there, though it may not answer.
        if (!reached && (state == PA_CONTEXT_AUTHORIZING || state == PA_CONTEXT_SETTING_NAME)) {
            reached = true;
            reportServerReached();
        }
        if (!PA_CONTEXT_IS_GOOD(state))
            return failed("connecting to the sound server", context_);
        if (expired) {
            qCWarning(audioLog) << "PulseAudio: the sound server did not answer within the deadline";
            return false;
        }
        pa_threaded_mainloop_wait(loop_);
    }
    // Samples as decoded: the server converts them for its sink anyway.
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(format_.rate),
                                      static_cast<std::uint8_t>(format_.channels)};
    stream_ = pa_stream_new(context_, "KolviPlayer", &sampleFormat, nullptr);
    if (stream_ == nullptr)
        return failed("pa_stream_new", context_);
    pa_stream_set_state_callback(stream_, &streamChanged, loop_);
    pa_stream_set_write_callback(stream_, &streamWants, loop_);
    const auto bufferBytes = static_cast<std::uint32_t>(format_.rate * BufferMs / 1000 * format_.bytesPerFrame());
    // Playing starts as soon as the first batch is in.
    const pa_buffer_attr attributes{static_cast<std::uint32_t>(-1), bufferBytes, static_cast<std::uint32_t>(requestBytes_),
                                    static_cast<std::uint32_t>(requestBytes_), static_cast<std::uint32_t>(-1)};
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, PA_STREAM_NOFLAGS, nullptr, nullptr) != 0)
        return failed("pa_stream_connect_playback", context_);
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        if (state == PA_STREAM_READY)
            return true;
        if (!PA_STREAM_IS_GOOD(state))
            return failed("starting the stream", context_);
        if (expired) {
            qCWarning(audioLog) << "PulseAudio: the stream did not start within the deadline";
            return false;
        }
        pa_threaded_mainloop_wait(loop_);
    }
}

PulseOutput::~PulseOutput()
{
    if (loop_ != nullptr)
        pa_threaded_mainloop_stop(loop_);
    if (stream_ != nullptr) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_ != nullptr)
        pa_threaded_mainloop_free(loop_);
}

bool PulseOutput::usable() const
{
    return pa_context_get_state(context_) == PA_CONTEXT_READY && pa_stream_get_state(stream_) == PA_STREAM_READY;
}

// Sends what is staged while at least atLeast bytes of it are left, each
// time as much as the server has room for, waiting for room. False when
// interrupted or the server is gone.
bool PulseOutput::send(std::size_t atLeast)
{
    std::size_t sent = 0;
    while (staged_.size() - sent >= std::max<std::size_t>(atLeast, 1)) {
        if (interrupted_ || !usable())
            break;
        const std::size_t room = pa_stream_writable_size(stream_);
        if (room == static_cast<std::size_t>(-1))
            break;
        if (room == 0) {
            pa_threaded_mainloop_wait(loop_);
            continue;
        }
        std::size_t bytes = std::min(room, staged_.size() - sent);
        bytes -= bytes % format_.bytesPerFrame();
        if (bytes == 0 || pa_stream_write(stream_, staged_.data() + sent, bytes, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            break;
        sent += bytes;
        sentSinceDrop_ = true;
        clock_.handedOver(static_cast<std::int64_t>(bytes / format_.bytesPerFrame()));
    }
    staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(sent));
    return staged_.size() < std::max<std::size_t>(atLeast, 1);
}

std::size_t PulseOutput::play(unsigned char* data, std::size_t bytes)
{
    staged_.insert(staged_.end(), data, data + bytes);
    if (staged_.size() < requestBytes_)
        return bytes;
    pa_threaded_mainloop_lock(loop_);
    const bool sent = send(requestBytes_);
    pa_threaded_mainloop_unlock(loop_);
    return sent ? bytes : 0;
}

void PulseOutput::drain()
{
    pa_threaded_mainloop_lock(loop_);
    if (send(0)) {
        if (pa_operation* draining = pa_stream_drain(stream_, &operationDone, loop_)) {
            while (pa_operation_get_state(draining) == PA_OPERATION_RUNNING && !interrupted_ && usable())
                pa_threaded_mainloop_wait(loop_);
            if (pa_operation_get_state(draining) == PA_OPERATION_RUNNING)
                pa_operation_cancel(draining);
            pa_operation_unref(draining);
        }
    }
    pa_threaded_mainloop_unlock(loop_);
    clock_.drained();
}

void PulseOutput::drop()
{
    staged_.clear();
    pa_threaded_mainloop_lock(loop_);
    interrupted_ = false;
    // What follows the flush on the connection is played after it, so there is no waiting for it.
    if (sentSinceDrop_ && usable()) {
        if (pa_operation* flushing = pa_stream_flush(stream_, nullptr, nullptr))
            pa_operation_unref(flushing);
    }
    pa_threaded_mainloop_unlock(loop_);
    sentSinceDrop_ = false;
    clock_.reset();
}

void PulseOutput::interrupt()
{
    pa_threaded_mainloop_lock(loop_);
    interrupted_ = true;
    pa_threaded_mainloop_signal(loop_, 0);
    pa_threaded_mainloop_unlock(loop_);
}

std::int64_t PulseOutput::heardFrames() const { return clock_.heard(); }
