#pragma once
// Reads an open file through a buffer of its own. The decoder asks for each
// frame header and body separately; a full scan of a long file would
// otherwise take two system calls a frame.
#include "platform/files/UniqueFd.h"

#include <sys/types.h>

#include <cstddef>
#include <vector>

class BufferedFileReader {
public:
    explicit BufferedFileReader(UniqueFd file);

    // Like POSIX read and lseek on the file.
    ssize_t read(void* destination, std::size_t bytes);
    off_t seek(off_t offset, int whence);

private:
    UniqueFd file_;
    std::vector<unsigned char> buffer_;
    off_t bufferStart_ = 0;  // file offset of buffer_[0]
    std::size_t filled_ = 0;
    std::size_t next_ = 0;  // the file's position is bufferStart_ + next_
};
