#include "TagFile.h"

#include "FileBytes.h"
#include "Mp3Fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>

namespace {

std::string field(const std::string& text, char padding)
{
    if (text.size() > 30)
        throw std::invalid_argument("a tag field holds 30 bytes");
    return text + std::string(30 - text.size(), padding);
}

const std::string& untaggedMp3()
{
    static const std::string bytes = [] {
        QTemporaryDir dir;
        const std::string path = dir.filePath("tone.mp3").toStdString();
        makeMp3(path);
        return readFileBytes(path);
    }();
    return bytes;
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

void writeTaggedMp3(const std::string& path, const TagFields& fields)
{
    writeFileBytes(path, untaggedMp3() + tagBytes(fields));
}
