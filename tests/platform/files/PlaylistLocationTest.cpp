// Where the playlist file lives, decided as another user than the owner of
// the executable's folder would see it: beside the executable when that
// folder takes new files, else in the user's data folder.
#include "platform/files/PlaylistLocation.h"
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t NobodyId = 65534;

// The playlist path a process of the user nobody decides on, with
// XDG_DATA_HOME as given (unset when empty) and HOME at home.
std::optional<std::string> decidedAsNobody(const std::string& exeFolder, const std::string& dataHome,
                                           const std::string& home)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        if (::setresgid(NobodyId, NobodyId, NobodyId) != 0 || ::setresuid(NobodyId, NobodyId, NobodyId) != 0)
            ::_exit(2);
        if (dataHome.empty())
            ::unsetenv("XDG_DATA_HOME");
        else
            ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        ::setenv("HOME", home.c_str(), 1);
        const std::string path = playlistFilePath(exeFolder, "List.lst");
        const bool written = ::write(ends[1], path.data(), path.size()) == static_cast<ssize_t>(path.size());
        ::_exit(written ? 0 : 3);
    }
    ::close(ends[1]);
    std::string path;
    char buffer[512];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        path.append(buffer, static_cast<std::size_t>(got));
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return path;
}

}  // namespace

TEST(PlaylistLocation, BesideTheExecutableWhenItsFolderTakesFilesElseTheUsersDataFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs to act as another user";
    QTemporaryDir dir;
    const std::string top = dir.path().toStdString();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    const std::string shared = top + "/shared/", own = top + "/own/";
    ASSERT_TRUE(makeParentFolders(shared + "kolviplayer"));
    ASSERT_TRUE(makeParentFolders(own + "kolviplayer"));
    QFile::setPermissions(QString::fromStdString(own), QFile::Permissions(0x7777));
    // A list in both places: the writable folder beside the executable wins.
    writeFileBytes(own + "List.lst", "-1\r\r\n");
    ASSERT_TRUE(makeParentFolders(top + "/data/kolviplayer/List.lst"));
    writeFileBytes(top + "/data/kolviplayer/List.lst", "-1\r\r\n");

    struct Case {
        const char* name;
        std::string exeFolder, dataHome, expected;
    };
    const Case cases[] = {
        {"writable folder", own, top + "/data", own + "List.lst"},
        {"read-only folder, XDG_DATA_HOME", shared, top + "/data", top + "/data/kolviplayer/List.lst"},
        {"read-only folder, default data folder", shared, "", "/home/nobody/.local/share/kolviplayer/List.lst"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decidedAsNobody(c.exeFolder, c.dataHome, "/home/nobody"), c.expected) << c.name;
}

TEST(PlaylistLocation, ADataFolderUnderAFileCannotBeMade)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("data").toStdString();
    writeFileBytes(file, "not a folder");
    EXPECT_FALSE(makeParentFolders(file + "/kolviplayer/List.lst"));
    EXPECT_TRUE(makeParentFolders(dir.filePath("a/b/List.lst").toStdString()));
    EXPECT_TRUE(QFile::exists(dir.filePath("a/b")));
}
