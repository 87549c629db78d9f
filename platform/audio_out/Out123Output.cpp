#include "platform/audio_out/Out123Output.h"

#include "platform/win/Logging.h"

#include <out123.h>

void Out123Output::HandleDeleter::operator()(out123_struct* handle) const
{
    // Closing drains first; what is left is not wanted any more.
    out123_drop(handle);
    out123_del(handle);
}

std::unique_ptr<Out123Output> Out123Output::open(const char* module, const AudioFormat& format)
{
    Handle handle(out123_new());
    if (!handle) {
        qCWarning(audioLog) << "out123_new failed: out of memory";
        return nullptr;
    }
    out123_param_int(handle.get(), OUT123_FLAGS, OUT123_QUIET | OUT123_KEEP_PLAYING);
    out123_param_string(handle.get(), OUT123_NAME, "KolviPlayer");
    if (out123_open(handle.get(), module, nullptr) != OUT123_OK) {
        qCWarning(audioLog) << "out123_open" << module << "failed:" << out123_strerror(handle.get());
        return nullptr;
    }
    if (out123_start(handle.get(), format.rate, format.channels, MPG123_ENC_SIGNED_16) != OUT123_OK) {
        qCWarning(audioLog) << "out123_start" << module << format.rate << "Hz" << format.channels
                            << "channels failed:" << out123_strerror(handle.get());
        return nullptr;
    }
    return std::make_unique<Out123Output>(std::move(handle), format);
}

Out123Output::Out123Output(Handle handle, const AudioFormat& format)
    : handle_(std::move(handle)), format_(format), clock_(format.rate)
{
}

std::size_t Out123Output::play(unsigned char* data, std::size_t bytes)
{
    const std::size_t taken = out123_play(handle_.get(), data, bytes);
    clock_.handedOver(static_cast<std::int64_t>(taken / format_.bytesPerFrame()));
    return taken;
}

void Out123Output::drain()
{
    out123_drain(handle_.get());
    clock_.drained();
}

void Out123Output::drop()
{
    out123_drop(handle_.get());
    clock_.reset();
}

std::int64_t Out123Output::heardFrames() const { return clock_.heard(); }
