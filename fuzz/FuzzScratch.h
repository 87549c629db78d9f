#pragma once
// A private folder for the files a fuzz target writes, removed at exit;
// on tmpfs where there is one, so fsync costs nothing.
#include <string>
#include <string_view>

const std::string& scratchFolder();
void writeScratchFile(const std::string& path, std::string_view bytes);
std::string readScratchFile(const std::string& path);

// The Korean code page's double-byte rules where that locale is installed,
// else UTF-8.
void useKoreanLocale();

// Stops the run as a crash, so libFuzzer keeps the input.
inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}
