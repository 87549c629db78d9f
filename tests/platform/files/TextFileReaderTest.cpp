// Reading "List.lst" as the Windows text mode does, on real files.
#include "tests/support/FileBytes.h"
#include "platform/files/TextFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

using namespace std::string_literals;

namespace {

class TextFileReaderTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    std::vector<std::string> linesOf(const std::string& bytes)
    {
        const std::string file = path("List.lst");
        writeFileBytes(file, bytes);
        TextFileReader reader(file);
        EXPECT_TRUE(reader.isOpen());
        std::vector<std::string> lines;
        std::string line;
        while (reader.readLine(line))
            lines.push_back(line);
        EXPECT_FALSE(reader.readLine(line)) << "the end of the data stays the end";
        EXPECT_EQ(line, "");
        return lines;
    }

    QTemporaryDir dir_;
};

using Lines = std::vector<std::string>;

TEST_F(TextFileReaderTest, LineEndsOfEveryKindReadTheSame)
{
    EXPECT_EQ(linesOf("1\r\r\n/m/a.mp3\r\r\n/m/b.mp3\r\r\n"), (Lines{"1\n", "/m/a.mp3\n", "/m/b.mp3\n"}));
    EXPECT_EQ(linesOf("1\r\n/m/a.mp3\r\n"), (Lines{"1\n", "/m/a.mp3\n"}));
    EXPECT_EQ(linesOf("1\n/m/a.mp3\n"), (Lines{"1\n", "/m/a.mp3\n"}));
    EXPECT_EQ(linesOf("a\n\nb\n"), (Lines{"a\n", "\n", "b\n"}));
}

TEST_F(TextFileReaderTest, CarriageReturnsAreDroppedWhereverTheyStand)
{
    EXPECT_EQ(linesOf("\ra\rb\r\n\rc\n"), (Lines{"ab\n", "c\n"}));
    // Lines ended by CR alone are no lines: their text runs together.
    EXPECT_EQ(linesOf("3\r/m/a.mp3\r/m/b.mp3\r"), (Lines{"3/m/a.mp3/m/b.mp3"}));
    EXPECT_EQ(linesOf("\r\r\r"), Lines{});
    EXPECT_EQ(linesOf("a\n\r\r"), Lines{"a\n"});
}

TEST_F(TextFileReaderTest, ByteOneAEndsTheData)
{
    EXPECT_EQ(linesOf("0\n/m/a.mp3\n\x1A/m/b.mp3\n"), (Lines{"0\n", "/m/a.mp3\n"}));
    EXPECT_EQ(linesOf("0\n/m/a\x1A.mp3\n/m/b.mp3\n"), (Lines{"0\n", "/m/a"}));
    EXPECT_EQ(linesOf("\x1A\n"), Lines{});
}

TEST_F(TextFileReaderTest, OtherBytesAreKeptExactly)
{
    EXPECT_EQ(linesOf("a\0b\n\0\n"s), (Lines{"a\0b\n"s, "\0\n"s}));
    EXPECT_EQ(linesOf("/m/\xB0\xA1\xFF\x81\x41.mp3\n"), Lines{"/m/\xB0\xA1\xFF\x81\x41.mp3\n"});
    EXPECT_EQ(linesOf("0\n/m/last.mp3"), (Lines{"0\n", "/m/last.mp3"}));
    EXPECT_EQ(linesOf(""), Lines{});
}

TEST_F(TextFileReaderTest, ALineOfAnyLengthIsOneLine)
{
    std::string longLine(10 * 1024 * 1024, 'x');
    for (std::size_t i = 0; i < longLine.size(); i += 4099)
        longLine[i] = static_cast<char>('a' + i % 26);
    std::string crs;
    // CRs right across the reader's chunk edges are dropped as well.
    for (std::size_t i = 0; i < 3 * 65536 + 5; ++i)
        crs.push_back(i % 65536 < 3 || i % 65536 > 65533 ? '\r' : 'y');
    std::string expectedCrLine;
    for (const char c : crs)
        if (c != '\r')
            expectedCrLine.push_back(c);

    const Lines lines = linesOf("7\r\r\n" + longLine + "\r\r\n" + crs + "\r\nend");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "7\n");
    EXPECT_TRUE(lines[1] == longLine + "\n") << "long line of " << lines[1].size() << " bytes differs";
    EXPECT_TRUE(lines[2] == expectedCrLine + "\n") << "line of " << lines[2].size() << " bytes differs";
    EXPECT_EQ(lines[3], "end");
}

// The rest of a long line is left for the next read, so a line costs no more
// than the limit whatever its length.
TEST_F(TextFileReaderTest, ALimitedReadHoldsOnlyThePieceOfALongLine)
{
    const std::string file = path("List.lst");
    writeFileBytes(file, "12\r\r\n" + std::string(300, 'a') + "\r" + std::string(300, 'b') + "\r\n" +
                             std::string(511, 'c') + "\r\r\nend");
    TextFileReader reader(file);
    std::string line;
    bool cut = true;
    ASSERT_TRUE(reader.readLine(line, 511, cut));
    EXPECT_EQ(line, "12\n");
    EXPECT_FALSE(cut);
    ASSERT_TRUE(reader.readLine(line, 511, cut));
    EXPECT_EQ(line, std::string(300, 'a') + std::string(211, 'b'));
    EXPECT_TRUE(cut);
    ASSERT_TRUE(reader.readLine(line, 511, cut));
    EXPECT_EQ(line, std::string(89, 'b') + '\n');
    EXPECT_FALSE(cut);
    ASSERT_TRUE(reader.readLine(line, 511, cut));
    EXPECT_EQ(line, std::string(511, 'c') + '\n') << "a line of just the limit is whole";
    EXPECT_FALSE(cut);
    ASSERT_TRUE(reader.readLine(line, 511, cut));
    EXPECT_EQ(line, "end");
}

TEST_F(TextFileReaderTest, MissingFilesAndFoldersAreNotOpen)
{
    std::string line = "left over";
    TextFileReader missing(path("absent.lst"));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.readLine(line));
    EXPECT_EQ(line, "");

    TextFileReader folder(dir_.path().toStdString());
    EXPECT_FALSE(folder.isOpen());
    EXPECT_FALSE(folder.readLine(line));
}

// Opening a FIFO with no writer would wait for one for ever.
TEST_F(TextFileReaderTest, AFifoOrADeviceIsNotOpenAndDoesNotHoldUpTheOpen)
{
    const std::string fifo = path("List.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(TextFileReader(fifo).isOpen());
    EXPECT_FALSE(TextFileReader("/dev/zero").isOpen());
}

}  // namespace
