// Starting a program with an address: through recording stand-ins for the
// browser and for xdg-open, since no browser runs here.
#include "platform/shell/Launcher.h"
#include "tests/support/RecordingPrograms.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const ProgramStart* findStart(const std::vector<ProgramStart>& starts, const std::string& program)
{
    for (const ProgramStart& start : starts)
        if (start.program == program)
            return &start;
    return nullptr;
}

TEST(Launcher, ANamedProgramGetsTheParameterTextAsItsOneArgumentWithoutAShell)
{
    RecordingPrograms programs({"lyrics-browser", "xdg-open"});
    const std::string folder = programs.folder() + "/work";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    const std::string address = "http://www.kolvi.example/?a=1&b=$(touch pwned) 'q' ;touch pwned2 | x";

    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", "lyrics-browser", address.c_str(), folder.c_str(), SW_SHOWNORMAL);
    EXPECT_GT(result, 32);
    ASSERT_TRUE(programs.waitForStarts(1));
    const auto starts = programs.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "lyrics-browser");
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>{address});
    EXPECT_EQ(QFileInfo(QString::fromStdString(starts[0].workingFolder)).canonicalFilePath(),
              QFileInfo(QString::fromStdString(folder)).canonicalFilePath());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + "/pwned")));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + "/pwned2")));
}

TEST(Launcher, ReturnsWhileTheStartedProgramStillRuns)
{
    RecordingPrograms programs({"lyrics-browser"});
    EXPECT_GT(ShellExecuteA(nullptr, "open", "lyrics-browser", "http://www.kolvi.example", "", SW_SHOWNORMAL), 32);
    // The stand-in runs until released; had the call waited for it, it would have ended.
    EXPECT_EQ(programs.finished(), 0);
    ASSERT_TRUE(programs.waitForStarts(1));
    EXPECT_EQ(programs.finished(), 0);
}

TEST(Launcher, ABrowserThatIsNotHereIsReplacedByTheDefaultBrowser)
{
    RecordingPrograms programs({"xdg-open"});
    EXPECT_GT(ShellExecuteA(nullptr, "open", "Iexplore.exe", "http://www.kolvi.example", "", SW_SHOWNORMAL), 32);
    EXPECT_GT(ShellExecuteA(nullptr, nullptr, "Iexplore.exe", "https://music.kolvi.example/a b", nullptr, 1), 32);
    ASSERT_TRUE(programs.waitForStarts(2));
    const auto starts = programs.starts();
    ASSERT_EQ(starts.size(), 2u);
    std::vector<std::vector<std::string>> arguments{starts[0].arguments, starts[1].arguments};
    std::sort(arguments.begin(), arguments.end());
    EXPECT_EQ(arguments, (std::vector<std::vector<std::string>>{{"http://www.kolvi.example"},
                                                                 {"https://music.kolvi.example/a b"}}));
    EXPECT_EQ(starts[0].program, "xdg-open");
    EXPECT_EQ(starts[1].program, "xdg-open");
}

TEST(Launcher, StartsNothingForWhatIsNoWebAddressOrNoOpening)
{
    RecordingPrograms programs({"xdg-open", "lyrics-browser"});
    // The default browser is not asked to open local files or other schemes.
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "Iexplore.exe", "/etc/passwd", "", 1), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "Iexplore.exe", "file:///etc/passwd", "", 1), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "Iexplore.exe", "mailto:kolvi@kolvi.example", "", 1), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "no-such-program", "", "", 1), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "print", "lyrics-browser", "http://www.kolvi.example", "", 1), SE_ERR_NOASSOC);
    // Text that could not reach the program byte for byte is not sent at all.
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "lyrics-browser", "http://www.kolvi.example/\xb0\xa1", "", 1),
              SE_ERR_ACCESSDENIED);

    // Only the one good start that follows shows up.
    EXPECT_GT(ShellExecuteA(nullptr, "OPEN", "lyrics-browser", "http://www.kolvi.example/last", "", 1), 32);
    ASSERT_TRUE(programs.waitForStarts(1));
    const auto starts = programs.starts();
    ASSERT_EQ(starts.size(), 1u);
    const ProgramStart* last = findStart(starts, "lyrics-browser");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->arguments, std::vector<std::string>{"http://www.kolvi.example/last"});
}

}  // namespace
