#include "tags/TrackTagBytes.h"

#include "platform/files/UniqueFd.h"
#include "tags/Id3v1Tag.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr qsizetype Id3v2HeaderSize = 10;

class PositionedReader {
public:
    explicit PositionedReader(int fd) : fd_(fd) {}

    QByteArray Read(off_t offset, qsizetype size)
    {
        QByteArray bytes(size, '\0');
        qsizetype done = 0;
        while (done < size) {
            const ssize_t got = ::pread(fd_, bytes.data() + done, static_cast<size_t>(size - done), offset + done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        bytesRead_ += done;
        bytes.truncate(done);
        return bytes;
    }

    qint64 BytesRead() const { return bytesRead_; }

private:
    int fd_;
    qint64 bytesRead_ = 0;
};

// The tag's size after its header, four 7-bit bytes; 0 when no tag.
qsizetype DeclaredId3v2Size(const QByteArray& header)
{
    if (header.size() < Id3v2HeaderSize || !header.startsWith("ID3"))
        return 0;
    qsizetype size = 0;
    for (qsizetype i = 6; i < Id3v2HeaderSize; ++i)
        size = (size << 7) | (static_cast<unsigned char>(header[i]) & 0x7F);
    return size;
}

void ClaimSize(QByteArray& tag, qsizetype size)
{
    for (qsizetype i = Id3v2HeaderSize - 1; i >= 6; --i, size >>= 7)
        tag[i] = static_cast<char>(size & 0x7F);
}

QByteArray ReadId3v2(PositionedReader& reader, off_t fileSize)
{
    const qsizetype declared = DeclaredId3v2Size(reader.Read(0, Id3v2HeaderSize));
    if (declared == 0)
        return {};
    const qsizetype wanted = std::min<qsizetype>(Id3v2HeaderSize + declared, Id3v2ReadLimit);
    QByteArray tag = reader.Read(0, std::min<qsizetype>(wanted, fileSize));
    if (tag.size() < Id3v2HeaderSize)
        return {};
    // Frames cut off by the limit are then left out, not read past the end.
    if (tag.size() < Id3v2HeaderSize + declared)
        ClaimSize(tag, tag.size() - Id3v2HeaderSize);
    return tag;
}

}  // namespace

TrackTagBytes ReadTrackTagBytes(const std::string& path)
{
    TrackTagBytes bytes;
    // Opening a device may already act on it: only a regular file is opened.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return bytes;
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return bytes;
    PositionedReader reader(file.get());
    bytes.id3v2 = ReadId3v2(reader, status.st_size);
    if (status.st_size >= static_cast<off_t>(TagSize)) {
        QByteArray last = reader.Read(status.st_size - static_cast<off_t>(TagSize), TagSize);
        if (last.size() == static_cast<qsizetype>(TagSize) && HasId3v1Marker(last.constData()))
            bytes.id3v1 = std::move(last);
    }
    bytes.bytesRead = reader.BytesRead();
    return bytes;
}
