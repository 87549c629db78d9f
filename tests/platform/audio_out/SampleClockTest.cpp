// The delay model of outputs that cannot report their own, on a hand-moved clock.
#include "platform/audio_out/SampleClock.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

SampleClock::Clock::time_point fakeNow;

SampleClock::Clock::time_point readFakeNow() { return fakeNow; }

class SampleClockTest : public ::testing::Test {
protected:
    void SetUp() override { fakeNow = SampleClock::Clock::time_point{} + 1h; }
    static void advance(SampleClock::Clock::duration by) { fakeNow += by; }

    SampleClock clock{1000, &readFakeNow};  // a thousand frames a second: one a millisecond
};

TEST_F(SampleClockTest, ConsumesAtTheRateButNeverMoreThanHandedOver)
{
    EXPECT_EQ(clock.heard(), 0);
    clock.handedOver(200);
    EXPECT_EQ(clock.heard(), 0);
    EXPECT_EQ(clock.delay(), 200);
    advance(50ms);
    EXPECT_EQ(clock.heard(), 50);
    EXPECT_EQ(clock.delay(), 150);
    EXPECT_EQ(clock.timeUntilDelay(100), 50ms);
    EXPECT_EQ(clock.timeUntilDelay(200), SampleClock::Clock::duration::zero());
    advance(1s);
    EXPECT_EQ(clock.heard(), 200);
    EXPECT_EQ(clock.delay(), 0);
}

TEST_F(SampleClockTest, KeepsRunningWhileFedAndStartsAgainAfterRunningDry)
{
    clock.handedOver(100);
    advance(60ms);
    clock.handedOver(100);  // still 40 queued: the device never stopped
    advance(60ms);
    EXPECT_EQ(clock.heard(), 120);

    advance(500ms);  // everything heard, then silence
    EXPECT_EQ(clock.heard(), 200);
    clock.handedOver(100);
    EXPECT_EQ(clock.heard(), 200) << "the gap is not counted as heard";
    advance(30ms);
    EXPECT_EQ(clock.heard(), 230);
}

TEST_F(SampleClockTest, DrainedAndResetSettleTheCount)
{
    clock.handedOver(300);
    advance(100ms);
    clock.drained();
    EXPECT_EQ(clock.heard(), 300);
    EXPECT_EQ(clock.delay(), 0);
    clock.reset();
    EXPECT_EQ(clock.heard(), 0);
    clock.handedOver(10);
    advance(5ms);
    EXPECT_EQ(clock.heard(), 5);
}

}  // namespace
