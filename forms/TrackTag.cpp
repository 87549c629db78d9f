#include "forms/TrackTag.h"

#include "platform/files/FileAccess.h"

std::array<char, TagSize> TagBuffer{};

namespace {

class OpenFile {
public:
    explicit OpenFile(const char* path) : file_(_lopen(path, OF_READ)) {}
    ~OpenFile()
    {
        if (file_ != HFILE_ERROR)
            _lclose(file_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    HFILE Handle() const { return file_; }

private:
    HFILE file_;
};

// One positioned read of the file's last 128 bytes.
bool ReadLastBytes(const char* path)
{
    const OpenFile file(path);
    return file.Handle() != HFILE_ERROR && _llseek(file.Handle(), -long(TagSize), FILE_END) != HFILE_ERROR
        && _lread(file.Handle(), TagBuffer.data(), TagSize) == TagSize;
}

// Indices 29 down to 1 only: a field of spaces keeps its first one.
void ClearTrailingSpaces(std::size_t fieldOffset)
{
    for (std::size_t i = TagFieldLength - 1; i >= 1 && TagBuffer[fieldOffset + i] == ' '; --i)
        TagBuffer[fieldOffset + i] = '\0';
}

}  // namespace

bool ReadTrackTag(const char* path)
{
    if (!ReadLastBytes(path))
        return false;
    if (!HasId3v1Marker(TagBuffer.data()))
        return false;
    ClearTrailingSpaces(TagTitleOffset);
    ClearTrailingSpaces(TagArtistOffset);
    return true;
}
