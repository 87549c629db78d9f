#include "lyrics/FileStart.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~OpenFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::optional<FileStart> ReadFileStart(const std::string& path, qsizetype limit)
{
    const OpenFile file(path);
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    FileStart start;
    start.cut = status.st_size > limit;
    start.bytes.resize(static_cast<qsizetype>(std::min<off_t>(status.st_size, limit)));
    qsizetype read = 0;
    while (read < start.bytes.size()) {
        const ssize_t got = ::read(file.get(), start.bytes.data() + read, static_cast<size_t>(start.bytes.size() - read));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        read += got;
    }
    start.bytes.truncate(read);
    return start;
}
