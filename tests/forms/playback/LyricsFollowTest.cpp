// Every track that starts while the lyrics window is visible asks for its
// own lyrics page, and none while the window is hidden. The lyrics host is
// routed to a local server, so the web engine reaches nothing else.
#include "resources/BuildSettings.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/windows/PlayerFixture.h"

#include <QSignalSpy>

namespace {

QUrl lyricsPage(const std::string& pathAndQuery)
{
    return QUrl(QString::fromStdString("http://" KOLVI_LYRICS_HOST + pathAndQuery));
}

class LyricsFollowPlayback : public PlayerFixture {
protected:
    LyricsFollowPlayback() { routeHostToServer(KOLVI_LYRICS_HOST, server); }

    LocalHttpServer server;
};

TEST_F(LyricsFollowPlayback, EveryTrackStartedWhileTheWindowIsVisibleAsksForItsPage)
{
    start({track(0, 1.5), track(1, 1.5), track(2, 1.5)}, 0);
    startLyricsWindow();
    QSignalSpy navigations(frmLyrics->Browser, &TCppWebBrowser::NavigateRequested);
    form->btnPlayClick(form->btnPlay);
    EXPECT_EQ(navigations.count(), 0) << "hidden";

    form->btnLyrics->click();
    ASSERT_TRUE(frmLyrics->Visible());
    ASSERT_EQ(navigations.count(), 2) << "the index page, then the playing track's";
    navigations.clear();
    form->btnNextClick(form->btnNext);
    ASSERT_EQ(navigations.count(), 1);
    EXPECT_EQ(navigations[0][0].toUrl(), lyricsPage("/kr/lyrics_plugin_show.html?title=track+1&singer="));

    form->btnLyrics->click();
    ASSERT_FALSE(frmLyrics->Visible());
    form->btnNextClick(form->btnNext);
    EXPECT_EQ(navigations.count(), 1) << "hidden again";
}

}  // namespace
