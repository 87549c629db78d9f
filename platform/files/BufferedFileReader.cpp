#include "platform/files/BufferedFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t BufferBytes = 64 * 1024;

}  // namespace

BufferedFileReader::BufferedFileReader(UniqueFd file) : file_(std::move(file)), buffer_(BufferBytes) {}

ssize_t BufferedFileReader::read(void* destination, std::size_t bytes)
{
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t copied = 0;
    while (copied < bytes) {
        if (next_ == filled_) {
            bufferStart_ += static_cast<off_t>(filled_);
            filled_ = next_ = 0;
            ssize_t got = 0;
            do
                got = ::read(file_.get(), buffer_.data(), buffer_.size());
            while (got < 0 && errno == EINTR);
            if (got < 0)
                return copied > 0 ? static_cast<ssize_t>(copied) : -1;
            if (got == 0)
                break;
            filled_ = static_cast<std::size_t>(got);
        }
        const std::size_t count = std::min(bytes - copied, filled_ - next_);
        std::memcpy(out + copied, buffer_.data() + next_, count);
        next_ += count;
        copied += count;
    }
    return static_cast<ssize_t>(copied);
}

off_t BufferedFileReader::seek(off_t offset, int whence)
{
    const off_t current = bufferStart_ + static_cast<off_t>(next_);
    off_t target = offset;
    if (whence == SEEK_CUR) {
        target = current + offset;
    } else if (whence == SEEK_END) {
        struct stat info {};
        if (::fstat(file_.get(), &info) != 0)
            return -1;
        target = info.st_size + offset;
    } else if (whence != SEEK_SET) {
        errno = EINVAL;
        return -1;
    }
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    if (target >= bufferStart_ && target <= bufferStart_ + static_cast<off_t>(filled_)) {
        next_ = static_cast<std::size_t>(target - bufferStart_);
        return target;
    }
    if (::lseek(file_.get(), target, SEEK_SET) < 0)
        return -1;
    bufferStart_ = target;
    filled_ = next_ = 0;
    return target;
}
