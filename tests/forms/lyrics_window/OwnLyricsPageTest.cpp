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
#include "lyrics/LyricsSettings.h"
#include "lyrics/OnlineLyricsCache.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
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
    // LRCLIB's answers kept by one case are not found by the next.
    const ScopedEnvironment privateCache_{"XDG_CACHE_HOME", folder() + "cache"};
    QString cacheFile() const { return QString::fromStdString(folder() + "cache/kolviplayer/lrclib.json"); }

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

    // The engine's view on screen: the page the host sent, or the program's
    // own shown in front of it while it comes.
    QWebEngineView* shownView() const
    {
        QWidget* shown = frmLyrics->Browser->childAt(frmLyrics->Browser->rect().center());
        while (shown != nullptr && qobject_cast<QWebEngineView*>(shown) == nullptr)
            shown = shown->parentWidget();
        return static_cast<QWebEngineView*>(shown);
    }
    int linesLit() const { return runScript(engineView(), "document.querySelectorAll('.lyrics p.now').length").toInt(); }
    // Clicks the middle of line `line`'s text, as a listener would.
    void clickLine(int line) const { clickElement(QStringLiteral("#l%1 a").arg(line)); }
    // Where a click on the element `selector` finds goes: near its left end,
    // halfway down; the element brought into view first or not.
    QPoint placeOf(const QString& selector, bool intoView) const
    {
        const QString where = QStringLiteral("(function () { var a = document.querySelector('%1');"
                                             " if (%2) a.scrollIntoView({block: 'center'}); var r = a.getBoundingClientRect();"
                                             " return Math.round(r.left + 5) + ',' + Math.round((r.top + r.bottom) / 2); })()")
                                  .arg(selector, intoView ? "true" : "false");
        const QStringList xy = runScript(engineView(), where).toString().split(',');
        return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
    }
    // Clicks there once the page has come to rest.
    void clickElement(const QString& selector) const
    {
        QPoint point = placeOf(selector, true);
        // Until a smooth scroll of the sung line has come to rest.
        for (QPoint again; (again = placeOf(selector, true)) != point;)
            point = again;
        QTest::mouseClick(engineView()->focusProxy(), Qt::LeftButton, {}, point);
    }
    QString note() const
    {
        for (QLabel* label : frmLyrics->findChildren<QLabel*>())
            if (label->isVisible())
                return label->text();
        return QString();
    }

    QString shownText() const
    {
        QWebEngineView* view = shownView();
        return view != nullptr ? runScript(view, "document.body ? document.body.innerText : ''").toString() : QString();
    }

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

    // Kept as a file beside the track; the file is never written over.
    QTest::keyClick(frmLyrics, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(note(), "가사를 second.lrc 파일로 저장했습니다");
    const std::string saved = readFileBytes(besideTrack(second, ".lrc"));
    EXPECT_EQ(saved.substr(0, 26), "[00:00.00]둘째 노래 0\n");
    EXPECT_NE(saved.find("[00:58.00]둘째 노래 29\n"), std::string::npos);
    QTest::keyClick(frmLyrics, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(note(), "같은 이름의 가사 파일(second.lrc)이 이미 있어 저장하지 않았습니다");
    EXPECT_EQ(readFileBytes(besideTrack(second, ".lrc")), saved);
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

TEST_F(OwnLyricsPageTest, TheTracksOwnLyricsShowWhileTheHostIsSilentAndItsPageReplacesThemWhenItComes)
{
    LocalHttpServer host;
    routeHostToServer(KOLVI_LYRICS_HOST, host);
    const ScopedLyricsDatabase noDatabase("");
    host.setPage("/kr/lyrics_plugin_index.html", "<html><body>index page</body></html>");
    host.setPage("/kr/lyrics_plugin_show.html", "<html><body>host lyrics</body></html>");
    // A tag far larger than any real one: read on a worker, and its lyrics,
    // arriving after the next track's, are never shown.
    const std::string huge = addTrack("huge.mp3");
    tagTrack(huge, [](TagLib::ID3v2::Tag& tag) {
        std::string text;
        for (int line = 0; text.size() < 30u << 20; ++line)
            text += "[00:00.00]huge tag line " + std::to_string(line) + "\n";
        tag.addFrame(usltFrame(text));
    });
    const std::string own = addTrack("own.mp3");
    writeFileBytes(besideTrack(own, ".lrc"), lrcEverySecond("자기 가사"));
    QSignalSpy failed(frmLyrics->Browser, &TCppWebBrowser::NavigateFailed);

    showLyricsWindow();
    ASSERT_TRUE(waitForText("index page"));
    host.hold("/kr/lyrics_plugin_show.html", true);
    playTrack(0);
    form->btnNext->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownText().contains("자기 가사 59"); }, 60000));
    EXPECT_NE(shownView(), engineView());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return runScript(shownView(), "document.querySelectorAll('.lyrics p.now').length").toInt() == 1;
    }, 60000));
    EXPECT_FALSE(shownText().contains("huge"));
    EXPECT_EQ(failed.size(), 0);

    // The host answers: its page is what shows.
    LoadRecorder loads(engineView());
    host.hold("/kr/lyrics_plugin_show.html", false);
    const QUrl page("http://" KOLVI_LYRICS_HOST "/kr/lyrics_plugin_show.html?title=own&singer=");
    ASSERT_TRUE(loads.waitFor(page));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownView() == engineView(); }, 60000));
    EXPECT_EQ(shownText(), "host lyrics");
    EXPECT_EQ(host.pageRequests().back(), "/kr/lyrics_plugin_show.html?title=own&singer=");
    EXPECT_EQ(failed.size(), 0);
}

TEST_F(OwnLyricsPageTest, LinesUnderOneStampLightTogetherAClickedLineSeeksThereAndTheListenersShiftAndZoomAreKept)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    const ScopedLyricsDatabase noDatabase("");
    const std::string track = addTrack("group.mp3");
    // An original, word-timed every half second, its pronunciation and its
    // translation under each stamp.
    std::string lrc;
    for (int second = 0; second < 60; second += 2) {
        char stamp[32];
        char words[128];
        std::snprintf(stamp, sizeof stamp, "[00:%02d.00]", second);
        std::snprintf(words, sizeof words, "<00:%02d.00>원문 <00:%02d.50>%d <00:%02d.00>셋 <00:%02d.50>넷", second, second,
                      second, second + 1, second + 1);
        lrc += stamp + std::string(words) + "\n";
        for (const char* kind : {"발음 ", "번역 "})
            lrc += stamp + std::string(kind) + std::to_string(second) + "\n";
    }
    writeFileBytes(besideTrack(track, ".lrc"), lrc);

    showLyricsWindow();
    playTrack(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownView() == engineView() && pageText().contains("번역 58"); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return linesLit() == 3; }, 60000));
    EXPECT_EQ(highlightedLine() % 3, 0);

    // The listener aims at the pronunciation of the line at 0:40 while the
    // song goes on: the groups sung meanwhile light where they are, and the
    // page holds still under the pointer, which never rests quite still.
    QWindow* window = frmLyrics->windowHandle();
    QWidget* page = engineView()->focusProxy();
    const auto movePointerTo = [&](QPoint at) { QTest::mouseMove(window, window->mapFromGlobal(page->mapToGlobal(at))); };
    movePointerTo(page->rect().center());
    const QString aimed = "#l61 a";
    QPoint aim = placeOf(aimed, true);
    for (movePointerTo(aim); placeOf(aimed, false) != aim; movePointerTo(aim))
        aim = placeOf(aimed, true);
    const int litBefore = highlightedLine();
    bool nudge = false;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        movePointerTo(aim + QPoint((nudge = !nudge) ? 1 : 0, 0));
        return highlightedLine() > litBefore;
    }, 60000));
    EXPECT_EQ(placeOf(aimed, false), aim);
    QTest::mouseClick(page, Qt::LeftButton, {}, aim);
    // Then the translation of the one at 0:20: playback goes there, back
    // too, through the main window's slider.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TrackPos->Position() == 40000; }, 60000));
    form->btnPause->click();
    clickLine(32);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->TrackPos->Position() == 20000; }, 60000));
    form->btnPause->click();
    ASSERT_TRUE(waitForHighlight(30, 32));
    form->btnPause->click();
    const int heard = int(devicePosition());
    ASSERT_GE(heard, 20000);
    ASSERT_LT(heard, 30000);
    ASSERT_TRUE(waitForHighlight(heard / 2000 * 3, heard / 2000 * 3));
    EXPECT_EQ(linesLit(), 3);

    // 2.5 s later: the group sung 2.5 s before the device's position.
    for (int press = 0; press < 25; ++press)
        QTest::keyClick(frmLyrics, Qt::Key_BracketLeft);
    EXPECT_EQ(note(), "-2.5초");
    const int shifted = (heard - 2500) / 2000 * 3;
    ASSERT_TRUE(waitForHighlight(shifted, shifted));
    // Its words sung so far, one every half second.
    const int wordsSung = (heard - 2500) % 2000 / 500 + 1;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return runScript(engineView(), "document.querySelectorAll('.lyrics p.now .w.sung').length").toInt() == wordsSung;
    }, 60000)) << wordsSung;
    EXPECT_EQ(runScript(engineView(), "document.querySelectorAll('.lyrics p.now .w').length").toInt(), 4);
    EXPECT_EQ(LyricsSettings().OffsetMs(track), -2500);

    QTest::keyClick(frmLyrics, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(frmLyrics, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_NEAR(engineView()->zoomFactor(), 1.21, 0.01);
    EXPECT_NEAR(LyricsSettings().Zoom(), 1.21, 0.01);
    // A notch of the wheel with Ctrl held, over the page, takes one step back.
    const QPointF middle = QRectF(page->rect()).center();
    QWheelEvent notch(middle, page->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &notch);
    EXPECT_NEAR(engineView()->zoomFactor(), 1.1, 0.01);
    QTest::keyClick(frmLyrics, Qt::Key_0, Qt::ControlModifier);
    EXPECT_NEAR(engineView()->zoomFactor(), 1.0, 0.01);
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

TEST_F(OwnLyricsPageTest, WithoutLrclibLyricsOfTheTracksLengthTheListenerPicksOneAndThePickIsKeptForTheTrack)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    LocalHttpServer lrclib;
    const ScopedLyricsDatabase localDatabase("lrclib:" + lrclib.origin());
    lrclib.setPage("/api/get", R"({"code":404,"name":"TrackNotFound"})", "", "404 Not Found");
    lrclib.setPage("/api/search", R"json([{"trackName":"봄날","artistName":"가수","albumName":"첫 앨범","duration":187,
                                           "plainLyrics":"스튜디오 가사"},
                                          {"trackName":"봄날 (라이브)","artistName":"가수","albumName":"공연","duration":75.4,
                                           "syncedLyrics":"[00:00.50]고른 첫 줄\n[00:01.50]고른 둘째 줄\n[00:02.50]고른 셋째 줄"}])json");
    const std::string spring = addTrack("spring.mp3");
    tagTrack(spring, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle(utf8Text("봄날"));
        tag.setArtist(utf8Text("가수"));
    });
    const std::string other = addTrack("other.mp3");
    writeFileBytes(besideTrack(other, ".lrc"), lrcEverySecond("다른 곡"));

    playTrack(0);
    showLyricsWindow();
    ASSERT_TRUE(waitForText("골라 주세요"));
    const QString offered = pageText();
    EXPECT_TRUE(offered.contains("길이(1:00)")) << offered.toStdString();
    for (const char* shown : {"봄날 (라이브)", "첫 앨범", "공연", "3:07", "1:15", "있음", "없음"})
        EXPECT_TRUE(offered.contains(QString::fromUtf8(shown))) << shown;
    ASSERT_EQ(lrclib.pageRequests().size(), 2u);

    // Offered again on the way back, with no question.
    form->btnNext->click();
    ASSERT_TRUE(waitForText("다른 곡 59"));
    playTrack(0);
    ASSERT_TRUE(waitForText("골라 주세요"));
    EXPECT_EQ(lrclib.pageRequests().size(), 2u);

    clickElement("#c1 a");
    ASSERT_TRUE(waitForText("고른 셋째 줄"));
    EXPECT_TRUE(waitForHighlight(0, 2));

    // Back to the track later: the pick, with no question.
    form->btnNext->click();
    ASSERT_TRUE(waitForText("다른 곡 59"));
    playTrack(0);
    ASSERT_TRUE(waitForText("고른 셋째 줄"));
    EXPECT_TRUE(pageText().contains("직접 고른 가사"));
    EXPECT_EQ(lrclib.pageRequests().size(), 2u);

    // The listener asks for others: every record, by the search alone.
    QTest::keyClick(frmLyrics, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(waitForText("찾은 가사입니다"));
    ASSERT_EQ(lrclib.pageRequests().size(), 3u);
    EXPECT_EQ(lrclib.pageRequests()[2], lrclib.pageRequests()[1]);
    clickElement("#c0 a");
    ASSERT_TRUE(waitForText("스튜디오 가사"));
    // The new pick is the one kept.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const auto kept = OnlineLyricsCache(cacheFile()).Choice(spring, 0);
        return kept && !kept->lines.empty() && kept->lines[0].text == "스튜디오 가사";
    }, 60000));
}

TEST_F(OwnLyricsPageTest, LrclibAnswersAreKeptSoATrackShownAgainAsksNothingAndAMissIsNotAskedAgain)
{
    const ScopedEnvironment hostNowhere = routeLyricsHostNowhere();
    LocalHttpServer lrclib;
    const ScopedLyricsDatabase localDatabase("lrclib:" + lrclib.origin());
    lrclib.setPage("/api/get", R"({"duration":60,"syncedLyrics":"[00:00.50]온라인 첫 줄\n[00:01.50]온라인 셋째 줄"})");
    lrclib.setPage("/api/search", "[]");
    const std::string found = addTrack("found.mp3");
    tagTrack(found, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle(utf8Text("온라인 노래"));
        tag.setArtist(utf8Text("가수"));
    });
    addTrack("missing.mp3");

    playTrack(0);
    showLyricsWindow();
    ASSERT_TRUE(waitForText("온라인 셋째 줄"));
    form->btnNext->click();
    ASSERT_TRUE(waitForText("가사를 찾지 못했습니다"));
    ASSERT_EQ(lrclib.pageRequests().size(), 2u);

    playTrack(0);
    ASSERT_TRUE(waitForText("온라인 셋째 줄"));
    form->btnNext->click();
    ASSERT_TRUE(waitForText("가사를 찾지 못했습니다"));
    EXPECT_TRUE(pageText().contains("24시간 안에 찾아본 결과"));
    EXPECT_EQ(lrclib.pageRequests().size(), 2u);

    // The next run finds them in the user's cache folder.
    const QString address = QString::fromStdString(lrclib.origin());
    const auto kept = [&] {
        OnlineLyricsCache next(cacheFile());
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        const auto hit = next.Find(address, {"온라인 노래", "가수", 60}, now);
        const auto miss = next.Find(address, {"missing", "", 60}, now);
        return hit && hit->lyrics && hit->lyrics->lines.size() == 2 && miss && !miss->lyrics;
    };
    EXPECT_TRUE(QTest::qWaitFor(kept, 60000));
}

}  // namespace
