// The home page button of the real main window, through recording stand-ins
// for the browsers (none can run here).
#include "resources/BuildSettings.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/RecordingPrograms.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const std::string HomePage = "http://" KOLVI_HOME_HOST;

class HomePageButton : public PlayerFixture {};

TEST_F(HomePageButton, StartsIexploreWithTheHomePageAsItsOneArgumentInNoFolderOfItsOwn)
{
    RecordingPrograms programs({"Iexplore.exe", "xdg-open"});
    start();
    form->btnConnectHomePage->click();
    ASSERT_TRUE(programs.waitForStarts(1));
    const auto starts = programs.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "Iexplore.exe");
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>{HomePage});
    EXPECT_EQ(QFileInfo(QString::fromStdString(starts[0].workingFolder)).canonicalFilePath(),
              QDir::current().canonicalPath());
}

TEST_F(HomePageButton, WithoutIexploreTheDefaultBrowserOpensTheHomePage)
{
    RecordingPrograms programs({"xdg-open"});
    start();
    form->btnConnectHomePage->click();
    ASSERT_TRUE(programs.waitForStarts(1));
    const auto starts = programs.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "xdg-open");
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>{HomePage});
}

}  // namespace
