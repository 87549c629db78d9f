// The LRCLIB client against a local web server standing in for lrclib.net:
// what it asks, what it takes from the answers, and how it ends a question
// that gets none.
#include "tests/support/LocalHttpServer.h"
#include "lyrics/LrclibClient.h"

#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::string SyncedRecord = R"({"id":1,"trackName":"사랑 & 평화+","artistName":"가수","duration":187.0,
    "instrumental":false,"plainLyrics":"하나\n둘","syncedLyrics":"[00:01.00] 하나\n[00:02.00] 둘"})";

class LrclibClientTest : public ::testing::Test {
protected:
    LrclibClientTest() : client(QString::fromStdString(server.origin()), "KolviPlayer-test")
    {
        client.OnAnswer([this](int ticket, const OnlineAnswer& answer) { answers.emplace_back(ticket, answer); });
    }

    bool waitForAnswers(std::size_t count)
    {
        return QTest::qWaitFor([&] { return answers.size() >= count; }, 60000);
    }

    // Asks and waits for the answer to this question.
    OnlineAnswer askAndWait(const OnlineQuery& query)
    {
        answers.clear();
        const int ticket = client.Ask(query);
        EXPECT_TRUE(waitForAnswers(1));
        EXPECT_EQ(answers.size(), 1u);
        if (answers.empty())
            return {};
        EXPECT_EQ(answers[0].first, ticket);
        return answers[0].second;
    }

    LocalHttpServer server;
    LrclibClient client;
    std::vector<std::pair<int, OnlineAnswer>> answers;
};

TEST_F(LrclibClientTest, AsksForTheTrackByTitleArtistAndLengthAndTakesItsSyncedLyrics)
{
    server.setPage("/api/get", SyncedRecord);
    const OnlineAnswer answer = askAndWait({"사랑 & 평화+", "가수", 187});
    ASSERT_EQ(answer.outcome, OnlineAnswer::Found);
    ASSERT_TRUE(answer.lyrics.has_value());
    EXPECT_TRUE(answer.lyrics->synced);
    ASSERT_EQ(answer.lyrics->lines.size(), 2u);
    EXPECT_EQ(answer.lyrics->lines[1].startMs, 2000);
    EXPECT_EQ(answer.lyrics->lines[1].text, "둘");
    EXPECT_EQ(server.pageRequests(),
              std::vector<std::string>{"/api/get?track_name=%EC%82%AC%EB%9E%91%20%26%20%ED%8F%89%ED%99%94%2B"
                                       "&artist_name=%EA%B0%80%EC%88%98&duration=187"});
}

TEST_F(LrclibClientTest, WhenTheTrackIsUnknownItSearchesAndTakesTheRecordOfTheSameLength)
{
    server.setPage("/api/get", R"({"code":404,"name":"TrackNotFound"})", "", "404 Not Found");
    server.setPage("/api/search", R"([{"duration":301,"plainLyrics":"another song","syncedLyrics":null},
                                      {"duration":186.4,"plainLyrics":"first\nsecond","syncedLyrics":null},
                                      {"duration":40,"instrumental":true}])");
    OnlineAnswer answer = askAndWait({"Rain", "Kim", 187});
    ASSERT_EQ(answer.outcome, OnlineAnswer::Found);
    EXPECT_FALSE(answer.lyrics->synced);
    ASSERT_EQ(answer.lyrics->lines.size(), 2u);
    EXPECT_EQ(answer.lyrics->lines[0].text, "first");
    EXPECT_EQ(server.pageRequests(),
              (std::vector<std::string>{"/api/get?track_name=Rain&artist_name=Kim&duration=187",
                                        "/api/search?track_name=Rain&artist_name=Kim"}));

    // Without a singer there is only the search; an empty list is no lyrics.
    server.setPage("/api/search", "[]");
    answer = askAndWait({"Rain", "", 0});
    EXPECT_EQ(answer.outcome, OnlineAnswer::NotFound);
    EXPECT_EQ(server.pageRequests().back(), "/api/search?track_name=Rain");
}

TEST_F(LrclibClientTest, WhenNoRecordIsOfTheTracksLengthOrAllAreAskedForTheyAreOfferedToPickFrom)
{
    server.setPage("/api/get", R"({"duration":240,"syncedLyrics":"[00:01.00]longer"})");
    server.setPage("/api/search", R"json([{"trackName":"Rain","artistName":"Kim","albumName":"First","duration":240,
                                       "syncedLyrics":"[00:01.00]longer"},
                                      {"trackName":"Rain (live)","artistName":"Kim","albumName":null,"duration":150.6,
                                       "plainLyrics":"live"},
                                      {"trackName":"no words","duration":187}])json");
    OnlineAnswer answer = askAndWait({"Rain", "Kim", 187});
    ASSERT_EQ(answer.outcome, OnlineAnswer::Choices);
    EXPECT_FALSE(answer.lyrics);
    ASSERT_EQ(answer.choices.size(), 2u) << "a record without words is not offered";
    EXPECT_EQ(answer.choices[0].title, "Rain");
    EXPECT_EQ(answer.choices[0].singer, "Kim");
    EXPECT_EQ(answer.choices[0].album, "First");
    EXPECT_DOUBLE_EQ(answer.choices[0].lengthSeconds, 240);
    EXPECT_TRUE(answer.choices[0].lyrics.synced);
    EXPECT_EQ(answer.choices[1].album, "");
    EXPECT_DOUBLE_EQ(answer.choices[1].lengthSeconds, 150.6);
    EXPECT_FALSE(answer.choices[1].lyrics.synced);
    EXPECT_EQ(answer.choices[1].lyrics.lines[0].text, "live");
    EXPECT_EQ(server.pageRequests(),
              (std::vector<std::string>{"/api/get?track_name=Rain&artist_name=Kim&duration=187",
                                        "/api/search?track_name=Rain&artist_name=Kim"}));

    // All of them asked for: only the search, and the records of the
    // track's length are offered too.
    OnlineQuery every{"Rain", "Kim", 240};
    every.everyRecord = true;
    answer = askAndWait(every);
    ASSERT_EQ(answer.outcome, OnlineAnswer::Choices);
    EXPECT_EQ(answer.choices.size(), 2u);
    EXPECT_EQ(server.pageRequests().size(), 3u);
    EXPECT_EQ(server.pageRequests().back(), "/api/search?track_name=Rain&artist_name=Kim");
}

TEST_F(LrclibClientTest, AServerThatNeverAnswersOrRefusesEndsTheQuestion)
{
    server.hold("/api/get", true);
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::NoAnswer);
    EXPECT_EQ(server.pageRequests().size(), 1u);

    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    client.SetBaseAddress(QStringLiteral("http://127.0.0.1:%1").arg(closedPort));
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Unreachable);

    client.SetBaseAddress(QString());
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Off);
}

TEST_F(LrclibClientTest, OnlyTheLatestQuestionIsAnswered)
{
    server.setPage("/api/get", SyncedRecord);
    server.hold("/api/get", true);
    client.Ask({"First", "Kim", 187});
    ASSERT_TRUE(server.waitForPageRequests(1));
    const int second = client.Ask({"Second", "Kim", 187});
    ASSERT_TRUE(server.waitForPageRequests(2));
    // Both held requests are answered, the first one's first.
    server.hold("/api/get", false);
    ASSERT_TRUE(waitForAnswers(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].first, second);
}

TEST_F(LrclibClientTest, RedirectsAreFollowedOnlyWithinTheServiceAndOnlyAFew)
{
    // Another server on another port, with a record that must not count.
    LocalHttpServer elsewhere;
    elsewhere.setPage("/api/get", SyncedRecord);
    elsewhere.setPage("/api/search", "[]");
    server.setPage("/api/get", "", "Location: " + elsewhere.origin() + "/api/get\r\n", "302 Found");
    server.setPage("/api/search", "", "Location: " + elsewhere.origin() + "/api/search\r\n", "302 Found");
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Unreachable);
    EXPECT_TRUE(elsewhere.pageRequests().empty());

    // A loop on the service's own address ends after a few rounds.
    server.setPage("/api/get", "", "Location: /api/get\r\n", "302 Found");
    const std::size_t before = server.pageRequests().size();
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Unreachable);
    EXPECT_LE(server.pageRequests().size() - before, 4u);

    // Within the service a redirect is followed.
    server.setPage("/api/get", "", "Location: /api/moved\r\n", "301 Moved Permanently");
    server.setPage("/api/moved", SyncedRecord);
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Found);
}

TEST_F(LrclibClientTest, ABusyServiceIsNotAskedAgainBeforeItSays)
{
    server.setPage("/api/get", "", "Retry-After: 120\r\n", "429 Too Many Requests");
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Unreachable);
    EXPECT_EQ(server.pageRequests().size(), 1u) << "no search right after";
    server.setPage("/api/get", SyncedRecord);
    EXPECT_EQ(askAndWait({"Rain", "Kim", 187}).outcome, OnlineAnswer::Unreachable);
    EXPECT_EQ(server.pageRequests().size(), 1u) << "nor another question";
}

}  // namespace
