#include "TextFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfData = '\x1A';

UniqueFd openForReading(const std::string& path)
{
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    UniqueFd file(fd);
    struct stat info {};
    // A folder opens on Linux but is no readable text file.
    if (file.valid() && (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)))
        file = UniqueFd();
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

std::string randomSuffix()
{
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    std::string suffix(8, ' ');
    for (auto& c : suffix)
        c = Letters[pick(generator)];
    return suffix;
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

void appendWithoutCarriageReturns(std::string& line, std::string_view text)
{
    for (auto cr = text.find(CarriageReturn); cr != std::string_view::npos; cr = text.find(CarriageReturn)) {
        line.append(text.substr(0, cr));
        text.remove_prefix(cr + 1);
    }
    line.append(text);
}

void syncFolder(const std::string& folder)
{
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path) : fd_(openForReading(path)) {}

bool TextFileReader::Refill()
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
        return true;
    }
}

bool TextFileReader::ReadLine(std::string& line)
{
    line.clear();
    while (next_ < end_ || Refill()) {
        const char* const start = buffer_.data() + next_;
        const std::size_t available = end_ - next_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, LineFeed, available));
        std::size_t length = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - start) : available;
        const auto* endOfData = static_cast<const char*>(std::memchr(start, EndOfData, length));
        if (endOfData != nullptr)
            length = static_cast<std::size_t>(endOfData - start);
        appendWithoutCarriageReturns(line, {start, length});
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
    for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
        const std::string candidate = (folder == "/" ? "" : folder) + "/." + name + "." + randomSuffix() + ".tmp";
        // The kernel applies the umask to a new file's mode, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = UniqueFd(fd);
            temporary_ = candidate;
        } else if (errno != EEXIST && errno != EINTR) {
            break;
        }
    }
    if (fd_.valid() && hadFile && ::fchmod(fd_.get(), old.st_mode & 07777) != 0)
        failed_ = true;
}

AtomicTextFileWriter::~AtomicTextFileWriter()
{
    Discard();
}

void AtomicTextFileWriter::Write(std::string_view text)
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
        Flush();
}

bool AtomicTextFileWriter::Flush()
{
    if (!failed_ && !writeAll(fd_.get(), pending_.data(), pending_.size()))
        failed_ = true;
    pending_.clear();
    return !failed_;
}

bool AtomicTextFileWriter::Commit()
{
    if (!fd_.valid())
        return false;
    // Once fsync has succeeded the bytes are on the disk; closing adds nothing to check.
    const bool written = Flush() && ::fsync(fd_.get()) == 0;
    fd_ = UniqueFd();
    if (!written || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    syncFolder(folderOf(target_));
    return true;
}

void AtomicTextFileWriter::Discard()
{
    fd_ = UniqueFd();
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}
