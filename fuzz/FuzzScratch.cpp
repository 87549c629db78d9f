#include "fuzz/FuzzScratch.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::string makeFolder()
{
    std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/kolvi-fuzz-XXXXXX");
    require(mkdtemp(pattern.data()) != nullptr);
    return pattern;
}

}  // namespace

const std::string& scratchFolder()
{
    static const std::string folder = makeFolder();
    static const bool removedAtExit = std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratchFolder(), ignored);
    }) == 0;
    require(removedAtExit);
    return folder;
}

void writeScratchFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(static_cast<bool>(out));
}

std::string readScratchFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    require(static_cast<bool>(in));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void useKoreanLocale()
{
    if (std::setlocale(LC_ALL, "ko_KR.CP949") == nullptr)
        std::setlocale(LC_ALL, "C.UTF-8");
}
