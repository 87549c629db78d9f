// The sound server killed under the playing window and started again: the
// window keeps running, a start while the server is gone says so, and once
// the server is back the next start plays.
#include "EventLoopWait.h"
#include "ModalAnswerer.h"
#include "PlayerFixture.h"
#include "PulseDaemon.h"

namespace {

using namespace std::chrono_literals;

class ServerRestart : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        // Every sound connection of this process goes to the private server.
        server_.exportToEnvironment();
        ASSERT_TRUE(server_.start());
    }

    // Whether the private server (which only this process uses) has a stream.
    bool serverHasStream() const { return !pactl(server_.server(), {"list", "short", "sink-inputs"}).empty(); }

    PulseDaemon server_;
};

TEST_F(ServerRestart, TheWindowSurvivesTheServerDyingAndPlaysAgainOnceItIsBack)
{
    start({track(0, 4.0), track(1, 4.0)});
    form->btnNext->click();
    ASSERT_TRUE(waitForPosition(300));
    ASSERT_TRUE(serverHasStream());

    server_.kill();
    ASSERT_TRUE(waitUntil([&] { return form->MP3->Mode() == mdStopped; })) << "it does not play on into nothing";
    const DWORD stoppedAt = form->MP3->Position();
    EXPECT_LT(stoppedAt, form->MP3->TrackLength(1));
    // Ticks of the real timer find no end of track and leave the window as it is.
    pumpFor(2200ms);
    EXPECT_EQ(form->CurrentIndex, 0);
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_EQ(form->MP3->Position(), stoppedAt);

    {
        // A start while the server is gone fails with the reason, once.
        const BoxAnswerer user;
        form->btnNext->click();
        ASSERT_EQ(user.texts().size(), 1u);
        EXPECT_TRUE(user.texts().front().startsWith("No sound output is available")) << user.texts().front().toStdString();
    }
    EXPECT_EQ(form->CurrentIndex, 1);

    ASSERT_TRUE(server_.start());
    form->btnPrev->click();
    ASSERT_EQ(form->CurrentIndex, 0);
    ASSERT_TRUE(waitForPosition(300)) << "the track plays on the new server";
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_TRUE(serverHasStream());
}

}  // namespace
