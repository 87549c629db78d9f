// The lyrics window and the main window's lyrics button, with the real web
// engine; the lyrics host is routed to a local web server.
#include "resources/BuildSettings.h"
#include "tests/support/LocalHttpServer.h"
#include "forms/LyricsAddress.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/TagFile.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string IndexPath = "/kr/lyrics_plugin_index.html";

QUrl lyricsPage(const std::string& pathAndQuery)
{
    return QUrl(QString::fromStdString("http://" KOLVI_LYRICS_HOST + pathAndQuery));
}

// One server for the whole process: the web engine learns where the
// lyrics host is when it starts, and it starts once.
LocalHttpServer& lyricsServer()
{
    static LocalHttpServer* server = [] {
        static LocalHttpServer instance;
        routeHostToServer(KOLVI_LYRICS_HOST, instance);
        return &instance;
    }();
    return *server;
}

// Long enough that no track ends under a test, however slowly the engine loads
// its pages on a busy machine: a track that ends starts the next one.
constexpr double TrackSeconds = 60.0;

class LyricsWindowTest : public PlayerFixture {
protected:
    LyricsWindowTest() : server(lyricsServer()), firstRequest(server.pageRequests().size()) {}

    void SetUp() override
    {
        PlayerFixture::SetUp();
        start();
        startLyricsWindow();
    }

    // The requests this test made.
    std::vector<std::string> requestedPaths() const
    {
        return {server.pageRequests().begin() + static_cast<std::ptrdiff_t>(firstRequest),
                server.pageRequests().end()};
    }

    void clickLyrics() { form->btnLyrics->click(); }

    // Puts real MP3 files with tags into the playlist; answers their show pages.
    std::vector<std::string> addTracks(const std::vector<std::pair<std::string, std::string>>& titlesAndSingers)
    {
        std::vector<std::string> pages;
        TListItems* items = form->lvFileList->Items();
        for (const auto& [title, singer] : titlesAndSingers) {
            const std::string path = folder() + title + ".mp3";
            writeTaggedMp3(path, {.title = title, .artist = singer}, TrackSeconds);
            TListItem* item = items->Add();
            item->SetCaption(title + ".mp3");
            item->SubItems()->Add(path);
            pages.push_back("/kr/lyrics_plugin_show.html?title=" + title + "&singer=" + singer);
        }
        return pages;
    }

    // Starts entry `index` as a double-click on it does.
    void playTrack(int index)
    {
        form->DeselectAll();
        form->lvFileList->Items()->Item(index)->SetSelected(true);
        form->lvFileListDblClick(form->lvFileList);
        ASSERT_EQ(form->IsPlaying, 1);
    }

    static std::vector<QUrl> requestedUrls(const QSignalSpy& navigations)
    {
        std::vector<QUrl> urls;
        for (const QList<QVariant>& arguments : navigations)
            urls.push_back(arguments[0].toUrl());
        return urls;
    }

    QWebEngineView* engineView() const { return engineViewOf(frmLyrics->Browser); }

    LocalHttpServer& server;
    std::size_t firstRequest;
};

TEST_F(LyricsWindowTest, IsBuiltHiddenFromItsLayoutWithoutStartingTheWebEngine)
{
    TfrmLyrics* lyrics = frmLyrics;
    EXPECT_FALSE(lyrics->Visible());
    EXPECT_EQ(lyrics->Caption(), "Lyrics Viewer");
    EXPECT_EQ(lyrics->Left(), 510);
    EXPECT_EQ(lyrics->Top(), 161);
    EXPECT_EQ(lyrics->size(), QSize(420, 375));
    EXPECT_EQ(lyrics->Color(), clBtnFace);
    EXPECT_EQ(lyrics->font().family(), "MS Sans Serif");
    EXPECT_EQ(lyrics->font().pixelSize(), 11);
    EXPECT_EQ(lyrics->Browser->geometry(), QRect(0, 0, 420, 375));
    EXPECT_EQ(lyrics->Browser->Align(), TCppWebBrowser::alClient);
    EXPECT_EQ(engineView(), nullptr);
}

TEST_F(LyricsWindowTest, TheLyricsButtonShowsTheWindowBesideTheMainWindowWithTheIndexPage)
{
    TfrmKolviPlayer* main = form;
    TfrmLyrics* lyrics = frmLyrics;
    main->show();
    const int width = lyrics->width();
    clickLyrics();
    ASSERT_TRUE(lyrics->Visible());
    EXPECT_EQ(lyrics->Left(), main->Left() + main->Width());
    EXPECT_EQ(lyrics->Top(), main->Top());
    EXPECT_EQ(lyrics->Height(), main->Height());
    EXPECT_EQ(lyrics->width(), width);

    ASSERT_NE(engineView(), nullptr);
    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(IndexPath)));
    EXPECT_EQ(requestedPaths(), std::vector<std::string>{IndexPath});
    EXPECT_EQ(engineView()->url(), lyricsPage(IndexPath));
}

TEST_F(LyricsWindowTest, ATrackPageCarriesTheTagsTitleAndSingerAndStays)
{
    const std::string track = folder() + "비 내리는 밤.mp3";
    writeTaggedMp3(track, {.title = "Rain Drop", .artist = "Kim & \xea\xb0\x80"}, TrackSeconds);
    TfrmLyrics* lyrics = frmLyrics;
    lyrics->Show();
    ASSERT_NE(engineView(), nullptr);
    LoadRecorder loads(engineView());
    QSignalSpy navigations(lyrics->Browser, &TCppWebBrowser::NavigateRequested);
    lyrics->ShowTrackLyrics(track);

    EXPECT_EQ(LyricsAddress,
              "http://" KOLVI_LYRICS_HOST "/kr/lyrics_plugin_show.html?title=Rain+Drop&singer=Kim+%26+%ea%b0%80");
    // The host is sent the address byte for byte, escapes in small letters.
    const std::string trackPage = "/kr/lyrics_plugin_show.html?title=Rain+Drop&singer=Kim+%26+%ea%b0%80";
    ASSERT_TRUE(loads.waitFor(lyricsPage(trackPage)));
    ASSERT_EQ(navigations.count(), 1);
    EXPECT_EQ(navigations[0][0].toUrl(), lyricsPage(trackPage));
    ASSERT_FALSE(requestedPaths().empty());
    EXPECT_EQ(requestedPaths().back(), trackPage);
    EXPECT_EQ(engineView()->url(), lyricsPage(trackPage));
}

TEST_F(LyricsWindowTest, AnUntaggedTrackIsLookedUpByItsFileName)
{
    const std::string track = folder() + "My Song.MP3";
    Mp3Spec tone;
    tone.seconds = TrackSeconds;
    makeMp3(track, tone);
    TfrmLyrics* lyrics = frmLyrics;
    lyrics->Show();
    ASSERT_NE(engineView(), nullptr);
    LoadRecorder loads(engineView());
    lyrics->ShowTrackLyrics(track);
    const std::string trackPage = "/kr/lyrics_plugin_show.html?title=My+Song&singer=";
    ASSERT_TRUE(loads.waitFor(lyricsPage(trackPage)));
    EXPECT_EQ(requestedPaths().back(), trackPage);
}

TEST_F(LyricsWindowTest, DuringPlaybackTheButtonAsksForTheIndexAndThenTheTracksPageWhichStays)
{
    const auto pages = addTracks({{"Rain", "Kim"}});
    form->show();
    playTrack(0);
    QSignalSpy navigations(frmLyrics->Browser, &TCppWebBrowser::NavigateRequested);
    clickLyrics();
    EXPECT_EQ(requestedUrls(navigations), (std::vector<QUrl>{lyricsPage(IndexPath), lyricsPage(pages[0])}));

    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(pages[0])));
    // The index request may be overtaken before it reaches the server, never
    // after; a busy engine may fetch either page more than once.
    const auto requests = requestedPaths();
    const auto firstTrackRequest = std::find(requests.begin(), requests.end(), pages[0]);
    ASSERT_NE(firstTrackRequest, requests.end());
    for (auto request = requests.begin(); request != requests.end(); ++request)
        EXPECT_EQ(*request, request < firstTrackRequest ? IndexPath : pages[0])
            << "request " << (request - requests.begin()) << " of " << requests.size();
    EXPECT_EQ(engineView()->url(), lyricsPage(pages[0]));
    EXPECT_EQ(runScript(engineView(), "location.search").toString(), "?title=Rain&singer=Kim");
}

TEST_F(LyricsWindowTest, WhileVisibleItFollowsEveryTrackThatStarts)
{
    const auto pages = addTracks({{"First", "Kim"}, {"Second", "Lee"}});
    form->show();
    clickLyrics();
    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(IndexPath)));
    QSignalSpy navigations(frmLyrics->Browser, &TCppWebBrowser::NavigateRequested);

    playTrack(0);
    ASSERT_TRUE(loads.waitFor(lyricsPage(pages[0])));
    form->btnNext->click();
    ASSERT_TRUE(loads.waitFor(lyricsPage(pages[1])));
    EXPECT_EQ(requestedUrls(navigations), (std::vector<QUrl>{lyricsPage(pages[0]), lyricsPage(pages[1])}));
    EXPECT_EQ(requestedPaths(), (std::vector<std::string>{IndexPath, pages[0], pages[1]}));
    EXPECT_EQ(engineView()->url(), lyricsPage(pages[1]));
}

TEST_F(LyricsWindowTest, ATrackStartedWhileHiddenAsksForNothingUntilTheWindowIsShown)
{
    const auto pages = addTracks({{"First", "Kim"}, {"Second", "Lee"}});
    form->show();
    const int helpersBefore = webEngineHelperProcesses();
    QSignalSpy navigations(frmLyrics->Browser, &TCppWebBrowser::NavigateRequested);
    playTrack(0);
    form->btnNext->click();
    EXPECT_EQ(navigations.count(), 0);
    EXPECT_EQ(engineView(), nullptr);
    EXPECT_EQ(webEngineHelperProcesses(), helpersBefore);

    // Shown later: the index page, then the page of the track playing now.
    clickLyrics();
    EXPECT_EQ(requestedUrls(navigations), (std::vector<QUrl>{lyricsPage(IndexPath), lyricsPage(pages[1])}));
    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(pages[1])));
    EXPECT_EQ(requestedPaths().back(), pages[1]);
}

TEST_F(LyricsWindowTest, APausedTrackStillGetsItsPageAndAfterStopOnlyTheIndexIsAskedFor)
{
    const auto pages = addTracks({{"Rain", "Kim"}});
    TfrmKolviPlayer* main = form;
    main->show();
    playTrack(0);
    main->btnPause->click();
    ASSERT_EQ(main->IsPaused, 1);
    QSignalSpy navigations(frmLyrics->Browser, &TCppWebBrowser::NavigateRequested);
    clickLyrics();
    EXPECT_EQ(requestedUrls(navigations), (std::vector<QUrl>{lyricsPage(IndexPath), lyricsPage(pages[0])}));
    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(pages[0])));

    main->btnStop->click();
    ASSERT_EQ(main->IsPlaying, 0);
    navigations.clear();
    clickLyrics();
    clickLyrics();
    EXPECT_EQ(requestedUrls(navigations), std::vector<QUrl>{lyricsPage(IndexPath)});
    ASSERT_TRUE(loads.waitFor(lyricsPage(IndexPath)));
    EXPECT_EQ(requestedPaths().back(), IndexPath);
    EXPECT_EQ(engineView()->url(), lyricsPage(IndexPath));
}

TEST_F(LyricsWindowTest, TheButtonHidesAVisibleWindowAndTheCloseButtonHidesItToo)
{
    TfrmKolviPlayer* main = form;
    TfrmLyrics* lyrics = frmLyrics;
    main->show();
    clickLyrics();
    ASSERT_TRUE(lyrics->Visible());
    LoadRecorder loads(engineView());
    ASSERT_TRUE(loads.waitFor(lyricsPage(IndexPath)));

    // Hidden even when other windows cover it.
    main->raise();
    clickLyrics();
    EXPECT_FALSE(lyrics->Visible());
    EXPECT_EQ(engineView()->url(), lyricsPage(IndexPath));

    // Shown again: the index page is asked for again.
    QSignalSpy navigations(lyrics->Browser, &TCppWebBrowser::NavigateRequested);
    clickLyrics();
    EXPECT_TRUE(lyrics->Visible());
    ASSERT_EQ(navigations.count(), 1);
    EXPECT_EQ(navigations[0][0].toUrl(), lyricsPage(IndexPath));

    // The window's own close button only hides it.
    lyrics->close();
    EXPECT_FALSE(lyrics->Visible());
    EXPECT_EQ(frmLyrics, lyrics);
    EXPECT_TRUE(main->Visible());
}

TEST_F(LyricsWindowTest, EachShowPlacesItBesideTheMainWindowAgainAndKeepsTheUsersWidth)
{
    TfrmKolviPlayer* main = form;
    TfrmLyrics* lyrics = frmLyrics;
    main->show();
    clickLyrics();
    ASSERT_TRUE(lyrics->Visible());

    // The user moves and resizes both windows; then closes the lyrics window.
    lyrics->move(20, 30);
    lyrics->resize(500, 200);
    const int userWidth = lyrics->width();
    main->move(100, 120);
    main->resize(main->width() + 40, main->height() + 60);
    lyrics->close();
    ASSERT_FALSE(lyrics->Visible());

    clickLyrics();
    ASSERT_TRUE(lyrics->Visible());
    const QRect beside = main->frameGeometry();
    EXPECT_EQ(lyrics->frameGeometry().left(), beside.left() + beside.width());
    EXPECT_EQ(lyrics->frameGeometry().top(), beside.top());
    EXPECT_EQ(lyrics->frameGeometry().height(), beside.height());
    EXPECT_EQ(lyrics->width(), userWidth);
    EXPECT_EQ(lyrics->Browser->geometry(), lyrics->rect());
}

}  // namespace
