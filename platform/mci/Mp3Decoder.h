#pragma once
// One MP3 file decoded by libmpg123: its exact length from a scan of every
// frame, sample-accurate seeks, and 16-bit samples at the file's own rate
// and channel count.
#include "platform/audio_out/SoundOutput.h"
#include "platform/files/BufferedFileReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct mpg123_handle_struct;

class Mp3Decoder {
public:
    enum class OpenResult { Opened, NotFound, Unreadable, NotMpegAudio, DecoderUnavailable };

    // Opens the file and reads its format; call once.
    OpenResult open(const std::string& path);
    // Parses every frame for the exact length; false when that fails.
    bool scan();

    const AudioFormat& format() const { return format_; }
    // Frames (samples per channel) in the whole file, once scanned.
    std::int64_t frames() const { return frames_; }

    // The next read starts at frame, clamped to the length.
    void seek(std::int64_t frame);

    struct Chunk {
        std::size_t bytes = 0;
        bool end = false;  // nothing decodable follows
    };
    // Decodes up to size bytes of whole frames into buffer.
    Chunk read(unsigned char* buffer, std::size_t size);

private:
    // The library's output format is still the one the file opened with.
    bool formatIsStill() const;

    struct HandleDeleter {
        void operator()(mpg123_handle_struct* handle) const;
    };

    std::unique_ptr<BufferedFileReader> file_;
    std::unique_ptr<mpg123_handle_struct, HandleDeleter> handle_;
    AudioFormat format_;
    std::int64_t frames_ = 0;
    int emptyReads_ = 0;
};
