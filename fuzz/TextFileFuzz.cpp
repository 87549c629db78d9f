// Arbitrary bytes read as "List.lst", and the same bytes saved as text and
// read back. Reading must give the data up to its first 1A byte without its
// CRs, cut after each LF; saving must write each LF as CR LF and nothing else.
#include "fuzz/FuzzScratch.h"
#include "platform/files/TextFile.h"

#include <cstdint>
#include <vector>

namespace {

std::vector<std::string> readLines(const std::string& path)
{
    TextFileReader reader(path);
    require(reader.isOpen());
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    require(line.empty());
    return lines;
}

void requireLinesOf(const std::vector<std::string>& lines, const std::string& text)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        require(!line.empty());
        require(line.find_first_of("\r\x1A") == std::string::npos);
        const auto lineFeed = line.find('\n');
        // Only the last line may lack its LF; no line holds one inside.
        require(lineFeed == line.size() - 1 || (lineFeed == std::string::npos && i + 1 == lines.size()));
        joined += line;
    }
    require(joined == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string text;
    for (const char c : bytes.substr(0, bytes.find('\x1A')))
        if (c != '\r')
            text.push_back(c);

    const std::string list = scratchFolder() + "/List.lst";
    writeScratchFile(list, bytes);
    requireLinesOf(readLines(list), text);

    const std::string saved = scratchFolder() + "/Saved.lst";
    {
        AtomicTextFileWriter writer(saved);
        require(writer.isOpen());
        const std::size_t half = bytes.size() / 2;
        writer.write(std::string_view(bytes).substr(0, half));
        writer.write(std::string_view(bytes).substr(half));
        require(writer.commit());
    }
    std::string expectedOnDisk;
    for (const char c : bytes) {
        if (c == '\n')
            expectedOnDisk.push_back('\r');
        expectedOnDisk.push_back(c);
    }
    require(readScratchFile(saved) == expectedOnDisk);
    requireLinesOf(readLines(saved), text);
    return 0;
}
