#include "platform/files/FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

HFILE _lopen(const char* path, int mode)
{
    if (path == nullptr)
        return HFILE_ERROR;
    int access = 0;
    switch (mode & 0x3) {
    case OF_READ: access = O_RDONLY; break;
    case OF_WRITE: access = O_WRONLY; break;
    case OF_READWRITE: access = O_RDWR; break;
    default: return HFILE_ERROR;
    }
    int fd = -1;
    do
        fd = ::open(path, access | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd < 0 ? HFILE_ERROR : fd;
}

long _llseek(HFILE file, long offset, int origin)
{
    int whence = 0;
    switch (origin) {
    case FILE_BEGIN: whence = SEEK_SET; break;
    case FILE_CURRENT: whence = SEEK_CUR; break;
    case FILE_END: whence = SEEK_END; break;
    default: return HFILE_ERROR;
    }
    const off_t position = ::lseek(file, offset, whence);
    return position < 0 ? HFILE_ERROR : static_cast<long>(position);
}

UINT _lread(HFILE file, void* buffer, UINT bytes)
{
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < bytes) {
        const ssize_t got = ::read(file, out + done, bytes - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return static_cast<UINT>(HFILE_ERROR);
        if (got == 0)
            break;
        done += static_cast<UINT>(got);
    }
    return done;
}

HFILE _lclose(HFILE file)
{
    // Linux closes the descriptor even when close reports EINTR, so it is not retried.
    if (file < 0 || (::close(file) != 0 && errno == EBADF))
        return HFILE_ERROR;
    return 0;
}
