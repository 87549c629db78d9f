// The real kolviplayer on the X display (Xvfb, no window manager): its
// lyrics button, the lyrics window's own close button and the page it asks
// for, with the lyrics host routed to a local web server.
#include "resources/BuildSettings.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/executable/PlayerProcess.h"

#include <QElapsedTimer>
#include <QThread>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void clickLyricsButton(const XWindow& main)
{
    // btnLyrics: 107, 356, 62 x 25 in the client area.
    runXdotool({"mousemove", QString::number(main.x + 107 + 31), QString::number(main.y + 356 + 12)});
    runXdotool({"click", "1"});
}

bool isShown(const std::string& name)
{
    for (const XWindow& window : viewableWindows())
        if (window.name == name)
            return true;
    return false;
}

// The libraries of the process running this executable file that contain one of `parts` in their name.
std::vector<std::string> librariesOf(const std::string& executable, const std::vector<std::string>& parts)
{
    std::vector<std::string> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    while (const dirent* entry = proc ? readdir(proc.get()) : nullptr) {
        char target[4096] = {};
        const std::string exe = std::string("/proc/") + entry->d_name + "/exe";
        if (readlink(exe.c_str(), target, sizeof target - 1) <= 0 || executable != target)
            continue;
        std::ifstream maps(std::string("/proc/") + entry->d_name + "/maps");
        std::string line;
        while (std::getline(maps, line))
            for (const std::string& part : parts)
                if (line.find(part) != std::string::npos && std::find(found.begin(), found.end(), part) == found.end())
                    found.push_back(part);
    }
    return found;
}

bool waitUntilGone(const std::string& name, int limitMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (isShown(name)) {
        if (clock.elapsed() > limitMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(LyricsInPlayer, TheButtonShowsTheIndexPageBesideThePlayerAndTheWindowsCloseButtonOnlyHidesIt)
{
    LocalHttpServer server;
    routeHostToServer(KOLVI_LYRICS_HOST, server);
    // The player, run as root here, has to switch the engine's sandbox off itself.
    const ScopedEnvironment sandboxOn = ScopedEnvironment::removed("QTWEBENGINE_DISABLE_SANDBOX");
    // The sanitizer suite asks for the slow unwinder on every allocation (for
    // its leak suppressions); in the player it stalls the engine's start for
    // minutes. The player is killed at the end here, so no leak report is lost.
    const ScopedEnvironment fastUnwind = ScopedEnvironment::appended("ASAN_OPTIONS", ":fast_unwind_on_malloc=1");
    PlayerProcess player;
    player.start();
    const auto main = waitForWindow("KolviPlayer");
    ASSERT_TRUE(main.has_value());
    EXPECT_FALSE(isShown("Lyrics Viewer"));
    // Nothing of the web engine or of the lyrics readers before the first show.
    const std::vector<std::string> lazy{"libQt6WebEngineCore", "libtag", "libQt6Network", "kolvi_lyrics_module"};
    EXPECT_EQ(librariesOf(player.folder() + "kolviplayer", lazy), std::vector<std::string>{});

    clickLyricsButton(*main);
    const auto lyrics = waitForWindow("Lyrics Viewer");
    ASSERT_TRUE(lyrics.has_value());
    EXPECT_EQ(lyrics->x, main->x + main->width);
    EXPECT_EQ(lyrics->y, main->y);
    EXPECT_EQ(lyrics->height, main->height);
    EXPECT_EQ(lyrics->width, 420);
    ASSERT_TRUE(server.waitForPageRequests(1));
    EXPECT_EQ(server.pageRequests(), std::vector<std::string>{"/kr/lyrics_plugin_index.html"});
    const auto shown = librariesOf(player.folder() + "kolviplayer", lazy);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "libQt6WebEngineCore"), shown.end());

    // Its own close button hides it; the player goes on, and the button brings it back.
    runHelper({"close", QString::number(lyrics->id)});
    ASSERT_TRUE(waitUntilGone("Lyrics Viewer"));
    EXPECT_FALSE(player.waitForExit(0));
    clickLyricsButton(*main);
    ASSERT_TRUE(waitForWindow("Lyrics Viewer").has_value());
    ASSERT_TRUE(server.waitForPageRequests(2));
    EXPECT_EQ(server.pageRequests().back(), "/kr/lyrics_plugin_index.html");

    // The button hides it again.
    clickLyricsButton(*main);
    EXPECT_TRUE(waitUntilGone("Lyrics Viewer"));
    EXPECT_FALSE(player.waitForExit(0));
}

}  // namespace
