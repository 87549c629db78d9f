#pragma once
// Sound through one named libout123 module ("pulse", "alsa"). out123 cannot
// tell how much of what it took is still waiting in the server or card, so
// the delay comes from a clock against the frames handed over.
#include "platform/audio_out/SampleClock.h"
#include "platform/audio_out/SoundOutput.h"

#include <memory>

struct out123_struct;

class Out123Output : public SoundOutput {
public:
    // The module opened and started for format, or nullptr when it cannot play.
    static std::unique_ptr<Out123Output> open(const char* module, const AudioFormat& format);

    std::size_t play(unsigned char* data, std::size_t bytes) override;
    void drain() override;
    void drop() override;
    std::int64_t heardFrames() const override;

    struct HandleDeleter {
        void operator()(out123_struct* handle) const;
    };
    using Handle = std::unique_ptr<out123_struct, HandleDeleter>;
    // Use open(); public only for make_unique.
    Out123Output(Handle handle, const AudioFormat& format);

private:
    Handle handle_;
    const AudioFormat format_;
    SampleClock clock_;
};
