// The lyrics window's own pages, with the real web engine and the real
// player playing into the sound server: the lyrics host unreachable (its
// name routed nowhere), answering with an error, or silent; lyrics beside
// the track, in its ID3v2 tag and from LRCLIB on a local server; the sung
// line following the device; hostile and huge lyrics. CTest runs each case
// in a process of its own, so each routes the lyrics host before the web
// engine starts.
#include "resources/BuildSettings.h"
#include "tests/support/FileBytes.h"
#include "tests/support/id3v2/Id3v2Frames.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/ScopedBackends.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/TagFile.h"
#include "tests/support/webengine/WebEngineTesting.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Read once, when the engine starts: before the first show.
ScopedEnvironment routeLyricsHostNowhere()
{
    return ScopedEnvironment::appended("QTWEBENGINE_CHROMIUM_FLAGS",
                                       " --host-resolver-rules=\"MAP " KOLVI_LYRICS_HOST " ~NOTFOUND\"");
}

// "[mm:ss.00]<words> n" for every second of the minute.
std::string lrcEverySecond(const std::string& words)
{
    std::string lrc = "[ti:test]\n";
    for (int second = 0; second < 60; ++second) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[00:%02d.00]", second);
        lrc += stamp + words + " " + std::to_string(second) + "\n";
    }
    return lrc;
}

// A minute of sound, made once: no track ends, and moves playback on, under
// a test that waits for pages on a busy machine.
const std::string& minuteOfSound()
{
    static const std::string bytes = [] {
        QTemporaryDir dir;
        const std::string path = dir.filePath("minute.mp3").toStdString();
        Mp3Spec tone;
        tone.seconds = 60.0;
        tone.sampleRate = 22050;
        tone.channels = 1;
        tone.bitrateKbps = 32;
        makeMp3(path, tone);
        return readFileBytes(path);
    }();
    return bytes;
}

class OwnLyricsPageTest : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        start();
        startLyricsWindow();
    }

    // Puts a minute-long MP3 without a tag into the playlist; answers its path.
    std::string addTrack(const std::string& name)
    {
        const std::string path = folder() + name;
        writeFileBytes(path, minuteOfSound());
        TListItem* item = form->lvFileList->Items()->Add();
        item->SetCaption(name);
        item->SubItems()->Add(path);
        return path;
    }

    static std::string besideTrack(const std::string& track, const std::string& extension)
    {
        return track.substr(0, track.rfind('.')) + extension;
    }

    static void tagTrack(const std::string& track, const std::function<void(TagLib::ID3v2::Tag&)>& addFrames)
    {
        ASSERT_TRUE(editId3v2Tag(track, addFrames));
    }

    void playTrack(int index)
    {
        form->DeselectAll();
        form->lvFileList->Items()->Item(index)->SetSelected(true);
        form->lvFileListDblClick(form->lvFileList);
        ASSERT_EQ(form->IsPlaying, 1);
    }

    void showLyricsWindow()
    {
        form->show();
        form->btnLyrics->click();
        ASSERT_TRUE(frmLyrics->Visible());
        ASSERT_NE(engineView(), nullptr);
    }

    QWebEngineView* engineView() const { return engineViewOf(frmLyrics->Browser); }
    QString pageText() const { return runScript(engineView(), "document.body ? document.body.innerText : ''").toString(); }
    bool waitForText(const QString& part) const
    {
        return QTest::qWaitFor([&] { return pageText().contains(part); }, 60000);
    }

    // The number of the highlighted line, -1 for none.
    int highlightedLine() const
    {
        const QString id = runScript(engineView(), "(document.querySelector('.lyrics p.now') || {id: ''}).id").toString();
        return id.startsWith('l') ? id.mid(1).toInt() : -1;
    }
    bool waitForHighlight(int least, int most) const
    {
        return QTest::qWaitFor([&] { return highlightedLine() >= least && highlightedLine() <= most; }, 60000);
    }
    DWORD devicePosition() const { return form->MP3->Position(); }

};

TEST_F(OwnLyricsPageTest, WithoutTheHostTheSungLineOfTheLyricsBesideTheTrackFollowsTheDevice)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    const ScopedLyricsDatabase noDatabase("");
    const std::string first = addTrack("가수 - 첫 노래.mp3");
    writeFileBytes(besideTrack(first, ".lrc"), lrcEverySecond("첫 노래"));
    const std::string second = addTrack("second.mp3");
    tagTrack(second, [](TagLib::ID3v2::Tag& tag) {
        std::vector<std::pair<unsigned, std::string>> lines;
        for (unsigned line = 0; line < 30; ++line)
            lines.emplace_back(line * 2000, "둘째 노래 " + std::to_string(line));
        tag.addFrame(syltFrame(lines));
    });

    showLyricsWindow();
    ASSERT_TRUE(waitForText("노래를 재생하면 그 노래의 가사가 여기에 나타납니다"));

    playTrack(0);
    ASSERT_TRUE(waitForText("첫 노래 59"));
    EXPECT_TRUE(pageText().contains("가사 출처: 가수 - 첫 노래.lrc"));
    ASSERT_TRUE(waitForHighlight(2, 59));
    // Never ahead of the sound, at most a line behind it.
    const DWORD before = devicePosition();
    const int line = highlightedLine();
    const DWORD after = devicePosition();
    EXPECT_GE(line, int(before / 1000) - 1);
    EXPECT_LE(line, int(after / 1000));

    // A seek: the line moves there and is scrolled into view.
    form->TrackPos->SetPosition(40200);
    ASSERT_TRUE(waitForHighlight(40, 50));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return runScript(engineView(), "(function () { var r = document.querySelector('.lyrics p.now').getBoundingClientRect();"
                                 " return r.top >= 0 && r.bottom <= innerHeight; })()")
            .toBool();
    }, 60000));

    // Paused: the line of the standing device; on again, the lines go on.
    form->btnPause->click();
    ASSERT_EQ(form->IsPaused, 1);
    const int pausedLine = int(devicePosition() / 1000);
    ASSERT_TRUE(waitForHighlight(pausedLine, pausedLine));
    form->btnPause->click();
    ASSERT_TRUE(waitForHighlight(pausedLine + 1, 59));

    // The next track: its own lyrics, from its tag.
    form->btnNext->click();
    ASSERT_TRUE(waitForText("둘째 노래 29"));
    EXPECT_TRUE(pageText().contains("SYLT"));
    ASSERT_TRUE(waitForHighlight(1, 29));
}

TEST_F(OwnLyricsPageTest, AnErrorStatusOrASilentHostGivesTheOwnPageButAnAnsweringHostKeepsItsPage)
{
    LocalHttpServer host;
    routeHostToServer(KOLVI_LYRICS_HOST, host);
    const ScopedLyricsDatabase noDatabase("");
    host.setPage("/kr/lyrics_plugin_index.html", "<html><body>gone</body></html>", "", "404 Not Found");
    host.setPage("/kr/lyrics_plugin_show.html", "<html><head><title>host page</title></head><body>host lyrics</body></html>");
    host.hold("/kr/lyrics_plugin_show.html", true);
    const std::string quiet = addTrack("quiet.mp3");
    writeFileBytes(besideTrack(quiet, ".txt"), "words from the text file\n");
    addTrack("answered.mp3");
    QSignalSpy failed(frmLyrics->Browser, &TCppWebBrowser::NavigateFailed);

    showLyricsWindow();
    ASSERT_TRUE(waitForText("노래를 재생하면"));
    playTrack(0);
    ASSERT_TRUE(host.waitForPageRequests(2));
    ASSERT_TRUE(waitForText("words from the text file"));
    EXPECT_TRUE(pageText().contains("quiet"));

    host.hold("/kr/lyrics_plugin_show.html", false);
    failed.clear();
    LoadRecorder loads(engineView());
    form->btnNext->click();
    const QUrl page("http://" KOLVI_LYRICS_HOST "/kr/lyrics_plugin_show.html?title=answered&singer=");
    ASSERT_TRUE(loads.waitFor(page));
    EXPECT_EQ(engineView()->url(), page);
    EXPECT_EQ(pageText(), "host lyrics");
    EXPECT_EQ(failed.size(), 0);
}

TEST_F(OwnLyricsPageTest, LrclibLyricsFollowTheSongAndALateAnswerForThePreviousTrackIsDropped)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    LocalHttpServer lrclib;
    const ScopedLyricsDatabase localDatabase("lrclib:" + lrclib.origin());
    lrclib.setPage("/api/get", R"({"duration":60,"instrumental":false,"plainLyrics":"온라인 가사",
                                   "syncedLyrics":"[00:00.50]온라인 첫 줄\n[00:01.50]온라인 둘째 줄\n[00:02.50]온라인 셋째 줄"})");
    const std::string online1 = addTrack("online.mp3");
    tagTrack(online1, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle(utf8Text("온라인 노래"));
        tag.setArtist(utf8Text("가수"));
    });
    addTrack("late.mp3");
    const std::string third = addTrack("third.mp3");
    writeFileBytes(besideTrack(third, ".lrc"), lrcEverySecond("셋째 곡"));

    playTrack(0);
    showLyricsWindow();
    ASSERT_TRUE(waitForText("온라인 셋째 줄"));
    EXPECT_TRUE(pageText().contains("LRCLIB"));
    ASSERT_TRUE(waitForHighlight(1, 2));
    ASSERT_EQ(lrclib.pageRequests().size(), 1u);
    EXPECT_EQ(lrclib.pageRequests()[0],
              "/api/get?track_name=%EC%98%A8%EB%9D%BC%EC%9D%B8%20%EB%85%B8%EB%9E%98&artist_name=%EA%B0%80%EC%88%98"
              "&duration=60");

    // The next track's question (by its file name: a search) gets no answer
    // before the track after it starts.
    lrclib.hold("/api/search", true);
    form->btnNext->click();
    ASSERT_TRUE(waitForText("찾고 있습니다"));
    ASSERT_TRUE(lrclib.waitForPageRequests(2));
    form->btnNext->click();
    ASSERT_TRUE(waitForText("셋째 곡 59"));
    lrclib.hold("/api/search", false);
    // While the lines go on, the late answer has every chance to arrive.
    ASSERT_TRUE(waitForHighlight(2, 59));
    EXPECT_TRUE(pageText().contains("셋째 곡 59"));
    EXPECT_FALSE(pageText().contains("온라인"));
}

TEST_F(OwnLyricsPageTest, WhenNoPlaceHasLyricsThePageNamesTheTagsTitleAndSingerAndEveryPlaceLooked)
{
    // A Korean tagger's ID3v2.3 frames, marked Latin-1 but holding CP949, on
    // today's usual locale; they come before the ID3v1 tag.
    const ScopedLocale koreanUtf8("ko_KR.UTF-8");
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    LocalHttpServer lrclib;
    const ScopedLyricsDatabase localDatabase("lrclib:" + lrclib.origin());
    lrclib.setPage("/api/get", R"({"code":404,"name":"TrackNotFound"})", "", "404 Not Found");
    lrclib.setPage("/api/search", "[]");
    const std::string path = folder() + "untitled.mp3";
    writeTaggedMp3(path, {.title = "Rain Drop", .artist = "Kim"}, 60.0);
    writeFileBytes(path, latin1Id3v2Tag({{"TIT2", "\xBB\xE7\xB6\xFB\xC7\xD8"}, {"TPE1", "\xB1\xE8\xB0\xC7\xB8\xF0"}})
                             + readFileBytes(path));
    TListItem* item = form->lvFileList->Items()->Add();
    item->SetCaption("untitled.mp3");
    item->SubItems()->Add(path);

    playTrack(0);
    showLyricsWindow();
    ASSERT_TRUE(waitForText("가사를 찾지 못했습니다"));
    const QString page = pageText();
    EXPECT_TRUE(page.contains("제목 사랑해, 가수 김건모")) << page.toStdString();
    EXPECT_TRUE(page.contains("untitled.lrc, untitled.txt")) << page.toStdString();
    EXPECT_TRUE(page.contains("ID3v2")) << page.toStdString();
    EXPECT_TRUE(page.contains("LRCLIB (" + QString::fromStdString(lrclib.origin()) + "): 이 노래의 가사가 없음"))
        << page.toStdString();
    ASSERT_EQ(lrclib.pageRequests().size(), 2u);
    const std::string names = "track_name=%EC%82%AC%EB%9E%91%ED%95%B4&artist_name=%EA%B9%80%EA%B1%B4%EB%AA%A8";
    EXPECT_EQ(lrclib.pageRequests()[0], "/api/get?" + names + "&duration=60");
    EXPECT_EQ(lrclib.pageRequests()[1], "/api/search?" + names);
}

TEST_F(OwnLyricsPageTest, HostileLyricsShowAsTextTheOwnPageLoadsNothingAndAHugeFileShowsItsBeginning)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    const ScopedLyricsDatabase noDatabase("");
    LocalHttpServer elsewhere;
    const std::string hostile = addTrack("hostile.mp3");
    writeFileBytes(besideTrack(hostile, ".lrc"),
                   "[00:01.00]<script>document.title = 'script ran'</script>\n"
                   "[00:02.00]<img src=\"" + elsewhere.origin() + "/img.png\" onerror=\"document.title = 'img ran'\">\n"
                   "[00:03.00]</p></div><h1>injected</h1><p>\n"
                   "[00:04.00]&amp; \x01 end\n");
    const std::string huge = addTrack("huge.mp3");
    std::string lines;
    for (int line = 0; lines.size() < 50u << 20; ++line)
        lines += "[00:00.00]huge line " + std::to_string(line) + "\n";
    writeFileBytes(besideTrack(huge, ".lrc"), lines);

    playTrack(0);
    showLyricsWindow();
    ASSERT_TRUE(waitForText("&amp;  end"));
    EXPECT_TRUE(pageText().contains("<script>document.title = 'script ran'</script>"));
    EXPECT_TRUE(pageText().contains("</p></div><h1>injected</h1><p>"));
    EXPECT_EQ(engineView()->title(), "가사보기");
    EXPECT_EQ(runScript(engineView(), "document.querySelectorAll('h1, img, script').length").toInt(), 1);

    // Nothing is loaded from elsewhere, nor read from this machine.
    runScript(engineView(), "var probe = new Image(); probe.onload = function () { document.title = 'loaded' };"
                      "probe.onerror = function () { document.title = 'refused' };"
                      "probe.src = '" + QString::fromStdString(elsewhere.origin()) + "/probe.png';"
                      "document.body.appendChild(probe); 0");
    EXPECT_EQ(waitForTitle(engineView(), {"loaded", "refused"}), "refused");
    runScript(engineView(), "fetch('file:///etc/hostname').then(function () { document.title = 'read' },"
                      " function () { document.title = 'not read' }); 0");
    EXPECT_EQ(waitForTitle(engineView(), {"read", "not read"}), "not read");
    EXPECT_TRUE(elsewhere.pageRequests().empty());

    form->btnNext->click();
    ASSERT_TRUE(waitForText("가사가 너무 길어 앞부분만 보여 드립니다"));
    EXPECT_TRUE(pageText().contains("huge line 0\n"));
}

}  // namespace
