// Saving "List.lst": the Windows text-mode bytes, and the old file kept
// whole whenever the new one cannot be written completely.
#include "tests/support/FileBytes.h"
#include "platform/files/TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

class AtomicTextFileWriterTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    // Every name in the folder, so a temporary file left behind shows.
    QStringList folderContents() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                           QDir::Name);
    }

    static mode_t modeOf(const std::string& file)
    {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    QTemporaryDir dir_;
};

// Makes writes past a few bytes fail as on a full disk, for one test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

// Runs body as an ordinary user, for whom file permissions apply: as the
// user "nobody" in a child process when the tests run as root. Answers the
// body's result, or -1 when it could not run.
int runWithoutPrivileges(const std::function<int()>& body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped ? body() : 255);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(AtomicTextFileWriterTest, EveryLineFeedIsWrittenAsCarriageReturnLineFeed)
{
    const std::string file = path("List.lst");
    AtomicTextFileWriter writer(file);
    ASSERT_TRUE(writer.isOpen());
    writer.write("1\r\n");
    writer.write("/m/\xB0\xA1 a.mp3\r\n");
    writer.write("\n"s + "x\0y"s + "\r\n");
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(readFileBytes(file), "1\r\r\n/m/\xB0\xA1 a.mp3\r\r\n\r\nx\0y\r\r\n"s);
    EXPECT_EQ(folderContents(), QStringList{"List.lst"});
}

TEST_F(AtomicTextFileWriterTest, SavedTextReadsBackAsItWasWritten)
{
    const std::string file = path("List.lst");
    std::vector<std::string> paths;
    for (int i = 0; i < 20000; ++i)
        paths.push_back("/music/\xC7\xD1 " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 700), 'p') + ".mp3");
    {
        AtomicTextFileWriter writer(file);
        writer.write("12\r\n");
        for (const auto& p : paths)
            writer.write(p + "\r\n");
        ASSERT_TRUE(writer.commit());
    }
    TextFileReader reader(file);
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "12\n");
    for (const auto& p : paths) {
        ASSERT_TRUE(reader.readLine(line));
        ASSERT_EQ(line, p + "\n");
    }
    EXPECT_FALSE(reader.readLine(line));
}

TEST_F(AtomicTextFileWriterTest, CommitReplacesTheOldFileAndKeepsItsPermissions)
{
    const std::string file = path("List.lst");
    writeFileBytes(file, "old contents that are longer than the new ones\r\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    AtomicTextFileWriter writer(file);
    writer.write("0\r\n");
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(readFileBytes(file), "0\r\r\n");
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(folderContents(), QStringList{"List.lst"});
    EXPECT_FALSE(writer.commit()) << "a writer commits once";
}

TEST_F(AtomicTextFileWriterTest, ANewFileGetsTheUsualPermissions)
{
    const mode_t previous = ::umask(022);
    const std::string file = path("List.lst");
    AtomicTextFileWriter writer(file);
    writer.write("-1\r\n");
    const bool committed = writer.commit();
    ::umask(previous);
    ASSERT_TRUE(committed);
    EXPECT_EQ(modeOf(file), 0644u);
}

TEST_F(AtomicTextFileWriterTest, NothingChangesUntilCommitAndNothingAtAllWithout)
{
    const std::string file = path("List.lst");
    writeFileBytes(file, "5\r\r\n/m/old.mp3\r\r\n");
    {
        AtomicTextFileWriter writer(file);
        ASSERT_TRUE(writer.isOpen());
        writer.write(std::string(200000, 'n') + "\r\n");
        EXPECT_EQ(readFileBytes(file), "5\r\r\n/m/old.mp3\r\r\n");
    }
    EXPECT_EQ(readFileBytes(file), "5\r\r\n/m/old.mp3\r\r\n");
    EXPECT_EQ(folderContents(), QStringList{"List.lst"});
}

TEST_F(AtomicTextFileWriterTest, AFailedWriteLeavesTheOldFileByteForByte)
{
    const std::string file = path("List.lst");
    const std::string old = "2\r\r\n/m/a.mp3\r\r\n/m/b.mp3\r\r\n/m/c.mp3\r\r\n";
    writeFileBytes(file, old);
    bool committed = true;
    {
        const FileSizeLimit limit(1000);
        AtomicTextFileWriter writer(file);
        ASSERT_TRUE(writer.isOpen());
        writer.write("0\r\n");
        for (int i = 0; i < 100; ++i)
            writer.write("/m/a rather long path to go past the limit " + std::to_string(i) + ".mp3\r\n");
        committed = writer.commit();
    }
    EXPECT_FALSE(committed);
    EXPECT_EQ(readFileBytes(file), old);
    EXPECT_EQ(folderContents(), QStringList{"List.lst"});
}

TEST_F(AtomicTextFileWriterTest, APlaceThatCannotTakeTheFileFailsCleanly)
{
    const std::string folderInTheWay = path("List.lst");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("List.lst"));
    AtomicTextFileWriter writer(folderInTheWay);
    writer.write("0\r\n");
    EXPECT_FALSE(writer.commit());
    EXPECT_EQ(folderContents(), QStringList{"List.lst"});
    EXPECT_TRUE(QDir(dir_.filePath("List.lst")).exists());

    AtomicTextFileWriter nowhere(path("no such folder/List.lst"));
    EXPECT_FALSE(nowhere.isOpen());
    nowhere.write("0\r\n");
    EXPECT_FALSE(nowhere.commit());
}

TEST_F(AtomicTextFileWriterTest, FilesAndFoldersTheUserMayNotWriteKeepTheirText)
{
    const std::string old = "1\r\r\n/m/a.mp3\r\r\n";
    const auto makeFolder = [&](const char* name, mode_t folderMode, mode_t fileMode) {
        ASSERT_TRUE(QDir(dir_.path()).mkdir(name));
        const std::string folder = path(name);
        const std::string file = folder + "/List.lst";
        writeFileBytes(file, old);
        ASSERT_EQ(::chmod(file.c_str(), fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), folderMode), 0);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
    };
    ASSERT_EQ(::chmod(dir_.path().toStdString().c_str(), 0755), 0);
    makeFolder("readonly-file", 0755, 0444);
    makeFolder("readonly-folder", 0555, 0644);
    makeFolder("writable", 0755, 0644);

    const auto save = [&](const char* name) {
        return runWithoutPrivileges([&] {
            AtomicTextFileWriter writer(path(name) + "/List.lst");
            const bool opened = writer.isOpen();
            writer.write("0\r\n");
            return (opened ? 1 : 0) + (writer.commit() ? 2 : 0);
        });
    };
    EXPECT_EQ(save("readonly-file"), 0);
    EXPECT_EQ(save("readonly-folder"), 0);
    EXPECT_EQ(save("writable"), 3) << "the same save where the user may write";

    EXPECT_EQ(readFileBytes(path("readonly-file/List.lst")), old);
    EXPECT_EQ(readFileBytes(path("readonly-folder/List.lst")), old);
    EXPECT_EQ(readFileBytes(path("writable/List.lst")), "0\r\r\n");
    for (const char* name : {"readonly-file", "readonly-folder", "writable"})
        EXPECT_EQ(QDir(dir_.filePath(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"List.lst"})
            << name;
    ::chmod(path("readonly-folder").c_str(), 0755);  // so the temporary folder can be removed
}

TEST_F(AtomicTextFileWriterTest, ASymbolicLinkStaysAndItsFileGetsTheText)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("real"));
    const std::string real = path("real/List.lst");
    const std::string link = path("List.lst");
    writeFileBytes(real, "old\r\r\n");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    AtomicTextFileWriter writer(link);
    writer.write("1\r\n");
    ASSERT_TRUE(writer.commit());
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readFileBytes(real), "1\r\r\n");
    EXPECT_EQ(QDir(dir_.filePath("real")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"List.lst"});
}

// A save killed while it wrote leaves its temporary file; the next save
// removes it, but never the one another running writer holds.
TEST_F(AtomicTextFileWriterTest, ASaveRemovesTemporariesOfKilledSavesButNotOfRunningOnes)
{
    const std::string file = path("List.lst");
    writeFileBytes(file, "0\r\r\n/m/old.mp3\r\r\n");
    writeFileBytes(path(".List.lst.notes.tmp"), "not one of ours");
    const pid_t child = ::fork();
    if (child == 0) {
        AtomicTextFileWriter writer(file);
        writer.write("0\n/m/half");
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(folderContents().size(), 3) << folderContents().join(' ').toStdString();

    {
        AtomicTextFileWriter running(file);
        ASSERT_TRUE(running.isOpen());
        AtomicTextFileWriter save(file);
        ASSERT_TRUE(save.isOpen());
        save.write("1\n/m/new.mp3\n");
        ASSERT_TRUE(save.commit());
        EXPECT_EQ(readFileBytes(file), "1\r\n/m/new.mp3\r\n");
        EXPECT_EQ(folderContents().size(), 3) << "the running writer's file and the stranger stay";
    }
    EXPECT_EQ(folderContents(), (QStringList{".List.lst.notes.tmp", "List.lst"}));
}

}  // namespace
