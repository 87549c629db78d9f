// Asking what a track is called never waits on the file and never reads
// more than the start of its tag: a pipe named like a track is left alone,
// a huge file is read no further than the limit. Frames marked Latin-1 that
// hold CP949 read as Hangul.
#include "tags/Id3v2Titles.h"
#include "tags/Latin1Frames.h"
#include "tags/TrackTagBytes.h"
#include "tests/support/TagFile.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Four bytes of an ID3v2 size, seven bits a byte.
QByteArray syncSafe(quint32 value)
{
    QByteArray bytes;
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes += char((value >> shift) & 0x7F);
    return bytes;
}

void writeAt(int fd, off_t offset, const QByteArray& bytes)
{
    ASSERT_EQ(::pwrite(fd, bytes.constData(), size_t(bytes.size()), offset), bytes.size());
}

TEST(TagBytes, APipeNamedLikeATrackIsNeverReadAndTheFileNameIsTheTitle)
{
    QTemporaryDir dir;
    const std::string pipe = dir.filePath("노래.mp3").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Nobody ever opens the pipe for writing: a read, or a blocking open,
    // would wait here for good.
    EXPECT_EQ(ReadTrackTagBytes(pipe).bytesRead, 0);
    const TrackTitles titles = ReadTrackTitles(pipe, &ParseId3v2Titles);
    EXPECT_EQ(titles.title, "노래");
    EXPECT_TRUE(titles.artist.isEmpty());
}

TEST(TagBytes, AHugeTagIsReadUpToTheLimitAndItsCp949FramesReadAsHangul)
{
    ReadLatin1FramesAsLegacyText();
    QTemporaryDir dir;
    const std::string path = dir.filePath("huge.mp3").toStdString();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    // A tag claiming 200 MiB in a 2 GiB file that is nearly all hole; its
    // title frames first, as taggers write them, and a picture's frame cut
    // off by the limit.
    QByteArray tag = QByteArray::fromStdString(latin1Id3v2Tag(
        {{"TIT2", "\xBB\xE7\xB6\xFB\xC7\xD8"}, {"TPE1", "\xB1\xE8\xB0\xC7\xB8\xF0"}, {"TALB", "Beyonc\xE9"}}));
    tag += QByteArray("APIC\x09\x60\x00\x00\x00\x00", 10);
    tag.replace(6, 4, syncSafe(200u << 20));
    writeAt(fd, 0, tag);
    ASSERT_EQ(::ftruncate(fd, off_t(2) << 30), 0);
    ::close(fd);

    const TrackTagBytes bytes = ReadTrackTagBytes(path);
    EXPECT_EQ(bytes.id3v2.size(), Id3v2ReadLimit);
    EXPECT_EQ(bytes.bytesRead, 10 + Id3v2ReadLimit + 128) << "the header, the tag up to the limit, the last 128 bytes";
    EXPECT_TRUE(bytes.id3v1.isEmpty());
    EXPECT_EQ(bytes.id3v2.mid(6, 4), syncSafe(quint32(Id3v2ReadLimit - 10))) << "the tag claims only what was read";

    const TrackTitles titles = ReadTrackTitles(path, &ParseId3v2Titles);
    EXPECT_EQ(titles.title, "사랑해");
    EXPECT_EQ(titles.artist, "김건모");
    EXPECT_EQ(titles.album, "Beyoncé");
}

}  // namespace
