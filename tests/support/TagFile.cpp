#include "tests/support/TagFile.h"

#include "tests/support/FileBytes.h"
#include "tests/support/Mp3Fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <map>
#include <stdexcept>

namespace {

std::string field(const std::string& text, char padding)
{
    if (text.size() > 30)
        throw std::invalid_argument("a tag field holds 30 bytes");
    return text + std::string(30 - text.size(), padding);
}

const std::string& untaggedMp3(double seconds)
{
    static std::map<double, std::string> made;
    if (const auto found = made.find(seconds); found != made.end())
        return found->second;
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.mp3").toStdString();
    Mp3Spec settings;
    settings.seconds = seconds;
    makeMp3(path, settings);
    return made.emplace(seconds, readFileBytes(path)).first->second;
}

}  // namespace

std::string tagBytes(const TagFields& fields)
{
    std::string tag = fields.marker + field(fields.title, fields.padding) + field(fields.artist, fields.padding);
    tag += std::string(30, 'L') + "1999" + std::string(30, 'C') + '\x0C';
    if (tag.size() != 128)
        throw std::invalid_argument("a tag marker has 3 bytes");
    return tag;
}

std::string latin1Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames)
{
    auto sizeBytes = [](std::size_t size, int bitsPerByte) {
        std::string bytes;
        for (int shift = 3 * bitsPerByte; shift >= 0; shift -= bitsPerByte)
            bytes += static_cast<char>((size >> shift) & ((1u << bitsPerByte) - 1));
        return bytes;
    };
    std::string body;
    for (const auto& [id, text] : frames)
        body += id + sizeBytes(text.size() + 1, 8) + std::string(2, '\0') + '\0' + text;
    return std::string("ID3\x03\x00\x00", 6) + sizeBytes(body.size(), 7) + body;
}

void writeTaggedMp3(const std::string& path, const TagFields& fields, double seconds)
{
    writeFileBytes(path, untaggedMp3(seconds) + tagBytes(fields));
}
