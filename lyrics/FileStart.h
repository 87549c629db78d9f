#pragma once
// The first bytes of a regular file, read without ever waiting on it.
#include <QByteArray>
#include <optional>
#include <string>

struct FileStart {
    QByteArray bytes;  // at most the limit asked for
    bool cut = false;  // the file holds more than that
};

// Nothing when path (bytes in the locale's encoding) names no readable
// regular file: a pipe or a device of that name is never read from.
std::optional<FileStart> ReadFileStart(const std::string& path, qsizetype limit);
