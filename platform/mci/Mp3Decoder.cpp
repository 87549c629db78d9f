#include "platform/mci/Mp3Decoder.h"

#include "platform/win/Logging.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool libraryReady()
{
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

// A decoder that keeps answering "nothing yet" has nothing left to give.
constexpr int MaxEmptyReads = 64;

mpg123_ssize_t readFile(void* file, void* buffer, std::size_t bytes)
{
    return static_cast<BufferedFileReader*>(file)->read(buffer, bytes);
}

off_t seekFile(void* file, off_t offset, int whence) { return static_cast<BufferedFileReader*>(file)->seek(offset, whence); }

}  // namespace

void Mp3Decoder::HandleDeleter::operator()(mpg123_handle_struct* handle) const
{
    mpg123_close(handle);
    mpg123_delete(handle);
}

Mp3Decoder::OpenResult Mp3Decoder::open(const std::string& path)
{
    // Non-blocking, so that a FIFO named like a song cannot hang the open.
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        const int error = errno;
        qCWarning(mciLog) << "cannot open" << path.c_str() << ":" << std::strerror(error);
        return error == ENOENT || error == ENOTDIR ? OpenResult::NotFound : OpenResult::Unreadable;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        qCWarning(mciLog) << path.c_str() << "is not a regular file";
        return OpenResult::Unreadable;
    }
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    file_ = std::make_unique<BufferedFileReader>(std::move(file));

    if (!libraryReady()) {
        qCWarning(mciLog) << "mpg123_init failed";
        return OpenResult::DecoderUnavailable;
    }
    int error = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &error));
    if (!handle_) {
        qCWarning(mciLog) << "mpg123_new failed:" << mpg123_plain_strerror(error);
        return OpenResult::DecoderUnavailable;
    }
    mpg123_handle* h = handle_.get();
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // With fewer frames decoded ahead of a seek target, the first few hundred
    // samples after a seek in mono VBR files come out wrong.
    mpg123_param(h, MPG123_PREFRAMES, 8, 0);
    mpg123_format_none(h);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_replace_reader_handle(h, &readFile, &seekFile, nullptr) != MPG123_OK ||
        mpg123_open_handle(h, file_.get()) != MPG123_OK) {
        qCWarning(mciLog) << "mpg123_open_handle" << path.c_str() << "failed:" << mpg123_strerror(h);
        return OpenResult::NotMpegAudio;
    }
    // mpg123 accepts any file at open; empty, random or text files fail here.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1 || channels > 2) {
        qCWarning(mciLog) << path.c_str() << "is no MPEG audio:" << mpg123_strerror(h);
        return OpenResult::NotMpegAudio;
    }
    format_ = AudioFormat{rate, channels};
    // Once it is known to be MPEG audio, a damaged stretch is skipped however
    // long it is, instead of ending the song there.
    mpg123_param(h, MPG123_RESYNC_LIMIT, -1, 0);
    return OpenResult::Opened;
}

bool Mp3Decoder::scan()
{
    mpg123_handle* h = handle_.get();
    const off_t length = mpg123_scan(h) == MPG123_OK ? mpg123_length(h) : -1;
    if (length < 0 || mpg123_seek(h, 0, SEEK_SET) < 0) {
        qCWarning(mciLog) << "scanning the file for its length failed:" << mpg123_strerror(h);
        return false;
    }
    frames_ = length;
    return true;
}

void Mp3Decoder::seek(std::int64_t frame)
{
    mpg123_seek(handle_.get(), static_cast<off_t>(std::clamp<std::int64_t>(frame, 0, frames_)), SEEK_SET);
    emptyReads_ = 0;
}

bool Mp3Decoder::formatIsStill() const
{
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat2(handle_.get(), &rate, &channels, &encoding, 0) != MPG123_OK ||
           (rate == format_.rate && channels == format_.channels);
}

Mp3Decoder::Chunk Mp3Decoder::read(unsigned char* buffer, std::size_t size)
{
    // A stream that changes its format midway ends where it changed. Once a
    // change has been reported, the library does not report it again after
    // a seek, so the format is checked before every read as well.
    if (!formatIsStill())
        return {0, true};
    std::size_t done = 0;
    const int result = mpg123_read(handle_.get(), buffer, size, &done);
    // The output takes whole frames only.
    done -= done % format_.bytesPerFrame();
    switch (result) {
    case MPG123_OK:
        if (!formatIsStill())
            return {0, true};
        emptyReads_ = done == 0 ? emptyReads_ + 1 : 0;
        return {done, emptyReads_ > MaxEmptyReads};
    case MPG123_NEW_FORMAT:
        // What was decoded before the change is still of this format.
        return {done, !formatIsStill()};
    default:
        // The end, a read error (the file truncated under us) or a stream
        // too damaged to go on: what decoded has been given.
        if (result != MPG123_DONE)
            qCWarning(mciLog) << "decoding stopped:" << mpg123_strerror(handle_.get());
        return {done, true};
    }
}
