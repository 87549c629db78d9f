// The sound server killed under the playing window and started again: the
// window stays Playing with the track held where the sound stopped, and the
// track plays on from there by itself once the server is back. With no
// server for good, the track ends and the start of the next says why.
#include "tests/support/EventLoopWait.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/PulseDaemon.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

using namespace std::chrono_literals;

class ServerRestart : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(server_.start());
    }

    // Whether the private server (which only this process uses) has a stream.
    bool serverHasStream() const { return !pactl(server_.server(), {"list", "short", "sink-inputs"}).empty(); }

    PulseDaemon server_;
    // Every sound connection of this process goes to the private server.
    const ScopedEnvironment toServer_{"PULSE_SERVER", server_.server()};
};

TEST_F(ServerRestart, TheWindowSurvivesTheServerDyingAndPlaysOnOnceItIsBack)
{
    start({track(0, 8.0), track(1, 4.0)});
    form->btnNext->click();
    ASSERT_TRUE(waitForPosition(300));
    ASSERT_TRUE(serverHasStream());

    server_.kill();
    DWORD heldAt = 0;
    ASSERT_TRUE(waitUntil([&] {
        const DWORD before = form->MP3->Position();
        pumpFor(300ms);
        heldAt = form->MP3->Position();
        return heldAt == before;
    })) << "the position stops with the sound";
    EXPECT_LT(heldAt, form->MP3->TrackLength(1));
    // Ticks of the real timer find no end of track and leave the window as it is.
    {
        const BoxAnswerer user;
        pumpFor(2200ms);
        EXPECT_EQ(user.texts(), std::vector<QString>{});
    }
    EXPECT_EQ(form->CurrentIndex, 0);
    EXPECT_EQ(form->IsPlaying, 1);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
    EXPECT_EQ(form->MP3->Position(), heldAt);

    ASSERT_TRUE(server_.start());
    ASSERT_TRUE(waitForPosition(heldAt + 300)) << "the track plays on by itself";
    EXPECT_EQ(form->CurrentIndex, 0);
    EXPECT_EQ(form->MP3->Mode(), mdPlaying);
    EXPECT_TRUE(serverHasStream());

    // A start while the server is gone fails with the reason, once.
    server_.kill();
    {
        const BoxAnswerer user;
        form->btnNext->click();
        ASSERT_EQ(user.texts().size(), 1u);
        EXPECT_TRUE(user.texts().front().startsWith(QStringLiteral("소리를 낼 출력 장치가 없습니다.")))
            << user.texts().front().toStdString();
    }
    EXPECT_EQ(form->CurrentIndex, 1);
    EXPECT_EQ(form->IsPlaying, 0);
}

TEST_F(ServerRestart, WithNoServerForHalfAMinuteTheTrackEndsAndTheNextStartSaysWhy)
{
    start({track(0, 60.0), track(1, 4.0), track(2, 4.0)});
    form->btnNext->click();
    ASSERT_TRUE(waitForPosition(300));
    server_.kill();

    const BoxAnswerer user;
    ASSERT_TRUE(waitUntil([&] { return !user.texts().empty(); }, 45s)) << "the track ends after a while";
    EXPECT_EQ(form->CurrentIndex, 1) << "no round of the whole list for a missing output";
    EXPECT_EQ(form->IsPlaying, 0);
    ASSERT_EQ(user.texts().size(), 1u);
    EXPECT_TRUE(user.texts().front().startsWith(QString::fromUtf8("소리를 낼 출력 장치가 없습니다"))) << user.texts().front().toStdString();
}

}  // namespace
