// "List.lst" as it is read at start-up and written when the window goes:
// byte-exact round trips, the reader's edge cases, and saving that never
// destroys the previous file.
#include "tests/support/FileBytes.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QDir>
#include <csignal>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Paths = std::vector<std::string>;

const std::string CrCrLf = "\r\r\n";

std::string programFile(int index, const Paths& paths)
{
    std::string bytes = std::to_string(index) + CrCrLf;
    for (const std::string& path : paths)
        bytes += path + CrCrLf;
    return bytes;
}

// What this process has read from files and sockets so far.
std::uint64_t bytesReadByProcess()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:")
            return value;
    }
    return 0;
}

class PlaylistFile : public PlayerFixture {
protected:
    std::string conversionError(const std::string& bytes)
    {
        writeFileBytes(listFile(), bytes);
        try {
            start();
        } catch (const EConvertError& error) {
            EXPECT_EQ(form, nullptr);
            return error.Message();
        }
        return "(started)";
    }
};

}  // namespace

TEST_F(PlaylistFile, RoundTripsByteForByteWithItsIndexAndAnyPathBytes)
{
    const Paths stored{"/music/a b.mp3", std::string("/m/\xB0\xA1\xFF\x80 x.mp3"), "/m/\xED\x95\x9C.mp3",
                       "/m/C:\\odd:name.mp3"};
    const std::string bytes = programFile(1, stored);
    writeFileBytes(listFile(), bytes);
    start();
    EXPECT_EQ(form->CurrentIndex, 1);
    EXPECT_EQ(paths(), stored);
    EXPECT_EQ(captions(), (Paths{"a b.mp3", std::string("\xB0\xA1\xFF\x80 x.mp3"), "\xED\x95\x9C.mp3",
                                 "C:\\odd:name.mp3"}));
    stop();
    EXPECT_EQ(readFileBytes(listFile()), bytes);
}

TEST_F(PlaylistFile, WritesEveryLineWithCrCrLfWhateverEndingsItRead)
{
    writeFileBytes(listFile(), "-1\n/a.mp3\r\n/b.mp3\n");
    start();
    EXPECT_EQ(form->CurrentIndex, -1);
    EXPECT_EQ(paths(), (Paths{"/a.mp3", "/b.mp3"}));
    stop();
    EXPECT_EQ(readFileBytes(listFile()), "-1\r\r\n/a.mp3\r\r\n/b.mp3\r\r\n");
}

TEST_F(PlaylistFile, ReadsTheEdgeCasesOfTheTextFormat)
{
    struct Case {
        const char* name;
        std::string bytes;
        int index;
        Paths paths;
    };
    const std::string longLine(600, 'x');
    const Case cases[] = {
        {"index line only", "3\r\r\n", 3, {}},
        {"empty line between paths", "1\n/a\n\n/c\n", 1, {"/a", "", "/c"}},
        {"last line without line feed", "0\n/a.mp3\n/b.mp3", 0, {"/a.mp3", "/b.mp3"}},
        {"CR-only ends join lines", "0\n/a.mp3\r/b.mp3\r\n", 0, {"/a.mp3/b.mp3"}},
        {"1A ends the data", std::string("0\n/a.mp3\n/b\x1A.mp3\n/c.mp3\n"), 0, {"/a.mp3", "/b"}},
        {"NUL-led line ends the list", std::string("0\n/a.mp3\n\0/b.mp3\n/c.mp3\n", 24), 0, {"/a.mp3"}},
        {"NUL inside a line ends that path", std::string("0\n/a\0x.mp3\n/c.mp3\n", 18), 0, {"/a", "/c.mp3"}},
        {"a line of 600 bytes is one entry", "0\n" + longLine + "\n", 0, {longLine}},
        {"blanks around the index", " \t12 \r\n/a\n", 12, {"/a"}},
        {"hexadecimal index", "$A\n/a\n", 10, {"/a"}},
        {"truncated last line", "2\r\r\n/a.mp3\r\r\n/b.mp", 2, {"/a.mp3", "/b.mp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(listFile(), c.bytes);
        start();
        EXPECT_EQ(form->CurrentIndex, c.index);
        EXPECT_EQ(paths(), c.paths);
        // A stored index names the entry to select, if there is one.
        EXPECT_EQ(selected(), c.index < static_cast<int>(c.paths.size()) ? std::vector<int>{c.index}
                                                                          : std::vector<int>{});
        stop();
    }
}

TEST_F(PlaylistFile, AnEmptyOrMissingFileIsAnEmptyPlaylistAndIsLeftAsItWas)
{
    start();
    EXPECT_EQ(form->CurrentIndex, -1);
    EXPECT_EQ(form->IsPlaying, 0);
    EXPECT_EQ(form->lvFileList->Items()->Count(), 0);
    EXPECT_EQ(form->ListFileName, listFile());
    stop();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(listFile())));

    writeFileBytes(listFile(), "");
    start();
    EXPECT_EQ(form->CurrentIndex, -1);
    EXPECT_EQ(form->lvFileList->Items()->Count(), 0);
    stop();
    EXPECT_EQ(readFileBytes(listFile()), "");
}

TEST_F(PlaylistFile, AFirstLineThatIsNoNumberStopsTheStartAndLeavesTheFile)
{
    EXPECT_EQ(conversionError("abc\r\r\n/x.mp3\r\r\n"), "'abc' is not a valid integer value");
    stop();
    EXPECT_EQ(readFileBytes(listFile()), "abc\r\r\n/x.mp3\r\r\n");
    EXPECT_EQ(conversionError("\r\r\n/x.mp3\r\r\n"), "'' is not a valid integer value");
    stop();
    EXPECT_EQ(conversionError("0/a.mp3\r/b.mp3\r"), "'0/a.mp3/b.mp3' is not a valid integer value");
    stop();
    EXPECT_EQ(conversionError(std::string("\x01\xFF\x7F junk\x00tail\n", 14)),
              std::string("'\xFF\x7F junk' is not a valid integer value"));
    stop();
}

TEST_F(PlaylistFile, BinaryGarbageLoadsWithoutHarmAndReadsBackAsItWasSaved)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        std::string bytes = "0\n";
        for (int i = 0; i < 20000; ++i) {
            const auto byte = static_cast<char>(random() % 256);
            // Keep the data from ending early so there is much to read.
            bytes += byte == '\x1A' || byte == '\0' ? '\n' : byte;
        }
        writeFileBytes(listFile(), bytes);
        start();
        const Paths loaded = paths();
        stop();
        start();
        EXPECT_EQ(paths(), loaded);
        stop();
    }
}

// Lines that end the list, or the part of one after a NUL, cost no more than
// a small fixed amount to read, however long they go on: here a gigabyte
// of NUL bytes (a sparse file) without a line feed.
TEST_F(PlaylistFile, NulBytesWithoutEndAreReadNoFurtherThanTheLimits)
{
    struct Case {
        const char* name;
        std::string head;
        int index;
        Paths paths;
    };
    const Case cases[] = {
        {"index line followed by NULs", "7", 7, {}},
        {"NUL-led entry line", "0\n/a.mp3\n", 0, {"/a.mp3"}},
        {"entry cut by a NUL that goes on", "1\n/a.mp3\n/b", 1, {"/a.mp3", "/b"}},
    };
    constexpr off_t Size = 1024LL * 1024 * 1024;
    constexpr std::uint64_t ReadLimit = 16 * 1024 * 1024;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(listFile(), c.head);
        ASSERT_EQ(::truncate(listFile().c_str(), Size), 0);
        const std::uint64_t before = bytesReadByProcess();
        start();
        EXPECT_LT(bytesReadByProcess() - before, ReadLimit);
        EXPECT_EQ(form->CurrentIndex, c.index);
        EXPECT_EQ(paths(), c.paths);
        stop();
    }
}

TEST_F(PlaylistFile, AHugeLineIsOneEntryAndRoundTrips)
{
    std::string huge(1'000'000, 'h');
    huge.front() = '/';
    writeFileBytes(listFile(), programFile(0, {huge, "/next.mp3"}));
    start();
    EXPECT_EQ(paths(), (Paths{huge, "/next.mp3"}));
    stop();
    EXPECT_EQ(readFileBytes(listFile()), programFile(0, {huge, "/next.mp3"}));
}

TEST_F(PlaylistFile, SavingAnEmptiedPlaylistLeavesTheOldFile)
{
    const std::string bytes = programFile(1, {"/a.mp3", "/b.mp3", "/c.mp3"});
    writeFileBytes(listFile(), bytes);
    start();
    select({0, 1, 2});
    form->btnDelClick(form->btnDel);
    EXPECT_EQ(form->lvFileList->Items()->Count(), 0);
    stop();
    EXPECT_EQ(readFileBytes(listFile()), bytes);
}

TEST_F(PlaylistFile, AFailedSaveLeavesTheOldFileWholeAndNoTemporaryFile)
{
    const std::string old = programFile(0, {"/old.mp3"});
    writeFileBytes(listFile(), old);
    start();
    Paths many;
    for (int i = 0; i < 500; ++i)
        many.push_back("/music/a rather long folder name/track number " + std::to_string(i) + ".mp3");
    const std::string other = folder() + "other.lst";
    writeFileBytes(other, programFile(3, many));
    form->LoadPlaylist(other);
    ASSERT_EQ(form->lvFileList->Items()->Count(), 500);

    // The disk "fills" after 1000 bytes: writes beyond fail with EFBIG.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BoxAnswerer user;
    stop();
    EXPECT_EQ(user.texts().size(), 1u) << "the user is told the list was not saved";
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readFileBytes(listFile()), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"List.lst", "other.lst"}));
}

TEST_F(PlaylistFile, SavingIntoAFolderThatIsGoneReportsNothing)
{
    start();
    form->LoadPlaylist("/nonexistent/List.lst");
    writeFileBytes(folder() + "some.lst", programFile(0, {"/a.mp3"}));
    form->LoadPlaylist(folder() + "some.lst");
    form->SavePlaylist(folder() + "gone/List.lst");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder() + "gone")));
    EXPECT_EQ(paths(), (Paths{"/a.mp3"}));
    stop();
    EXPECT_EQ(readFileBytes(listFile()), programFile(0, {"/a.mp3"}));
}

TEST_F(PlaylistFile, AListThatCannotBeSavedIsToldOnceInABoxOrOnStandardErrorWhenUnattended)
{
    const std::string blocker = folder() + "data";
    writeFileBytes(blocker, "a file where the data folder should be");
    for (const bool unattended : {false, true}) {
        start({"/a.mp3"}, 0);
        form->ListFileName = blocker + "/kolviplayer/List.lst";
        form->ClosingUnattended = unattended;
        const BoxAnswerer user;
        testing::internal::CaptureStderr();
        stop();
        const std::string error = testing::internal::GetCapturedStderr();
        const std::vector<QString> boxes = user.texts();
        if (unattended) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_NE(error.find("재생 목록을 저장하지 못했습니다: " + blocker + "/kolviplayer/List.lst"), std::string::npos)
                << error;
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_TRUE(boxes.front().startsWith(QString::fromUtf8("재생 목록을 저장하지 못했습니다: ")));
            EXPECT_EQ(error.find("재생"), std::string::npos);
        }
    }
}
