#pragma once
// Text files as the C library's text mode reads and writes them on Windows,
// so the bytes on disk are those of the Windows program; without its line
// length limit, and with saving that never destroys the previous file.
#include "platform/files/UniqueFd.h"

#include <cstdint>
#include <string>
#include <string_view>

class TextFileReader {
public:
    // Opens path when it is a regular file; anything else (a FIFO, a
    // device, a folder) is not open, as if it did not exist.
    explicit TextFileReader(const std::string& path);

    bool isOpen() const { return fd_.valid(); }

    // The next line, its line feed kept when it has one. Every CR byte is
    // dropped wherever it stands and a 1A byte ends the data. A line of any
    // length is one line. False at the end of the data.
    bool readLine(std::string& line);
    // Like readLine, holding at most limit bytes of the line; cut tells
    // whether it goes on past them. The rest of a cut line is left unread,
    // so such a line costs limit bytes whatever its length.
    bool readLine(std::string& line, std::size_t limit, bool& cut);

    // Bytes taken from the file so far, read ahead included: what reading
    // has cost, for callers that bound it.
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    bool refill();

    UniqueFd fd_;
    std::string buffer_;
    std::size_t next_ = 0;
    std::size_t end_ = 0;
    bool dataEnded_ = false;
    std::uint64_t bytesRead_ = 0;
};

class AtomicTextFileWriter {
public:
    // Creates a temporary file beside path (or beside the file a symbolic
    // link at path points to); path itself is not touched before commit.
    // Temporary files that earlier saves of path left behind when their
    // writer died go (SaveTemporaries.h).
    // Not open when path is a file this user may not write, or its folder
    // takes no new file.
    explicit AtomicTextFileWriter(const std::string& path);
    ~AtomicTextFileWriter();
    AtomicTextFileWriter(const AtomicTextFileWriter&) = delete;
    AtomicTextFileWriter& operator=(const AtomicTextFileWriter&) = delete;

    bool isOpen() const { return fd_.valid(); }

    // Appends text, each line feed written as CR LF. A failure is kept for
    // commit to report.
    void write(std::string_view text);

    // Puts the written text in place of path, only if every byte reached the
    // disk; otherwise removes the temporary file and leaves path as it was.
    bool commit();

private:
    bool flush();
    void discard();

    std::string target_;
    std::string temporary_;
    UniqueFd fd_;
    std::string pending_;
    bool failed_ = false;
};
