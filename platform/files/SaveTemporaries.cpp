#include "platform/files/SaveTemporaries.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

constexpr std::string_view SuffixLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t SuffixLength = 8;
constexpr std::string_view Extension = ".tmp";

std::string randomSuffix()
{
    static std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, SuffixLetters.size() - 1);
    std::string suffix(SuffixLength, ' ');
    for (auto& c : suffix)
        c = SuffixLetters[pick(generator)];
    return suffix;
}

std::string prefixOf(const std::string& name) { return "." + name + "."; }

std::string pathIn(const std::string& folder, const std::string& file)
{
    return (folder == "/" ? "" : folder) + "/" + file;
}

bool isSaveTemporary(std::string_view file, const std::string& prefix)
{
    if (file.size() != prefix.size() + SuffixLength + Extension.size() || !file.starts_with(prefix) ||
        !file.ends_with(Extension))
        return false;
    const std::string_view suffix = file.substr(prefix.size(), SuffixLength);
    return suffix.find_first_not_of(SuffixLetters) == std::string_view::npos;
}

// The path still names the file open at fd: no one removed or replaced it.
bool stillNamed(const std::string& path, int fd)
{
    struct stat named {};
    struct stat open {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

int lockWaiting(int fd)
{
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    return result;
}

void removeIfAbandoned(const std::string& path)
{
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    // A writer that is alive holds the lock; the kernel let go of a dead one's.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    if (stillNamed(path, file.get()))
        ::unlink(path.c_str());
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

SaveTemporary createSaveTemporary(const std::string& folder, const std::string& name)
{
    SaveTemporary made;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = pathIn(folder, prefixOf(name) + randomSuffix() + std::string(Extension));
        // The kernel applies the umask to a new file's mode, as for any new file.
        UniqueFd fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            if (errno != EEXIST && errno != EINTR)
                break;
            continue;
        }
        // Another save may have taken it for abandoned between its creation
        // and the lock; then it is gone, and another name is tried.
        if (lockWaiting(fd.get()) == 0 && stillNamed(candidate, fd.get())) {
            made.fd = std::move(fd);
            made.path = candidate;
            break;
        }
    }
    return made;
}

void removeAbandonedSaveTemporaries(const std::string& folder, const std::string& name)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return;
    const std::string prefix = prefixOf(name);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (isSaveTemporary(entry->d_name, prefix))
            removeIfAbandoned(pathIn(folder, entry->d_name));
    }
}
