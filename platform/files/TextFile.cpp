#include "platform/files/TextFile.h"

#include "platform/files/SaveTemporaries.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfData = '\x1A';

// Only a regular file is read: a FIFO, a device or a folder counts as no
// file at all. Opened without blocking, so that a FIFO with no writer is
// found out by its type instead of holding up the open.
UniqueFd openForReading(const std::string& path)
{
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    UniqueFd file(fd);
    struct stat info {};
    if (file.valid() && (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)))
        file = UniqueFd();
    if (file.valid())
        ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

// The file that saving replaces: a symbolic link is followed, so the link
// stays and the file it names gets the new text.
std::string resolveTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
            return resolved;
    }
    return path;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

// Appends text to line without its CR bytes, until line holds limit bytes;
// answers how much of text was used.
std::size_t appendWithoutCarriageReturns(std::string& line, std::string_view text, std::size_t limit)
{
    std::size_t used = 0;
    while (used < text.size()) {
        if (text[used] == CarriageReturn) {
            ++used;
            continue;
        }
        const std::size_t cr = std::min(text.find(CarriageReturn, used), text.size());
        const std::size_t run = std::min(cr - used, limit - line.size());
        if (run == 0)
            break;
        line.append(text.substr(used, run));
        used += run;
    }
    return used;
}

void syncFolder(const std::string& folder)
{
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path) : fd_(openForReading(path)) {}

bool TextFileReader::refill()
{
    if (dataEnded_ || !fd_.valid())
        return false;
    buffer_.resize(ChunkSize);
    for (;;) {
        const ssize_t got = ::read(fd_.get(), buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            dataEnded_ = true;
            return false;
        }
        next_ = 0;
        end_ = static_cast<std::size_t>(got);
        bytesRead_ += end_;
        return true;
    }
}

bool TextFileReader::readLine(std::string& line)
{
    bool cut = false;
    return readLine(line, std::string::npos, cut);
}

bool TextFileReader::readLine(std::string& line, std::size_t limit, bool& cut)
{
    line.clear();
    cut = false;
    while (next_ < end_ || refill()) {
        const char* const start = buffer_.data() + next_;
        const std::size_t available = end_ - next_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, LineFeed, available));
        std::size_t length = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - start) : available;
        const auto* endOfData = static_cast<const char*>(std::memchr(start, EndOfData, length));
        if (endOfData != nullptr)
            length = static_cast<std::size_t>(endOfData - start);
        const std::size_t used = appendWithoutCarriageReturns(line, {start, length}, limit);
        if (used < length) {
            next_ += used;
            cut = true;
            return true;
        }
        if (endOfData != nullptr) {
            dataEnded_ = true;
            next_ = end_ = 0;
            break;
        }
        next_ += length;
        if (lineFeed != nullptr) {
            ++next_;
            line.push_back(LineFeed);
            return true;
        }
    }
    // Data that ends in nothing but dropped CRs makes no line.
    return !line.empty();
}

AtomicTextFileWriter::AtomicTextFileWriter(const std::string& path) : target_(resolveTarget(path))
{
    const std::string folder = folderOf(target_);
    const auto slash = target_.rfind('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    struct stat old {};
    const bool hadFile = ::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A file the user may not write keeps its text, as opening it for writing would fail.
    if (hadFile && ::access(target_.c_str(), W_OK) != 0)
        return;
    SaveTemporary temporary = createSaveTemporary(folder, name);
    fd_ = std::move(temporary.fd);
    temporary_ = std::move(temporary.path);
    if (!fd_.valid())
        return;
    removeAbandonedSaveTemporaries(folder, name);
    if (hadFile && ::fchmod(fd_.get(), old.st_mode & 07777) != 0)
        failed_ = true;
}

AtomicTextFileWriter::~AtomicTextFileWriter()
{
    discard();
}

void AtomicTextFileWriter::write(std::string_view text)
{
    if (!fd_.valid() || failed_)
        return;
    for (auto lineFeed = text.find(LineFeed); lineFeed != std::string_view::npos; lineFeed = text.find(LineFeed)) {
        pending_.append(text.substr(0, lineFeed));
        pending_ += "\r\n";
        text.remove_prefix(lineFeed + 1);
    }
    pending_.append(text);
    if (pending_.size() >= ChunkSize)
        flush();
}

bool AtomicTextFileWriter::flush()
{
    if (!failed_ && !writeAll(fd_.get(), pending_.data(), pending_.size()))
        failed_ = true;
    pending_.clear();
    return !failed_;
}

bool AtomicTextFileWriter::commit()
{
    if (!fd_.valid())
        return false;
    // Once fsync has succeeded the bytes are on the disk; closing adds nothing to check.
    const bool written = flush() && ::fsync(fd_.get()) == 0;
    // Renamed while still open, and so locked: until then the file is ours.
    if (!written || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    temporary_.clear();
    fd_ = UniqueFd();
    syncFolder(folderOf(target_));
    return true;
}

void AtomicTextFileWriter::discard()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
    fd_ = UniqueFd();
}
