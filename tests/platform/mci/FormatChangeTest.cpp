// Streams whose frames change rate and channel count, as fuzzing found
// them (bytes the decoder resynchronises on, kept in the fuzz seed corpus):
// every play ends successfully at the length, however often it is played and
// from wherever. Before, a play after the first one passed the other
// format's samples off as this one's, or handed the output part of a frame,
// and stopped short with a failure, so the player never moved on.
#include "tests/support/mci/MciTesting.h"
#include "tests/support/ScopedBackends.h"

#include <gtest/gtest.h>

namespace {

class FormatChange : public ::testing::TestWithParam<const char*> {};

TEST_P(FormatChange, EveryPlayEndsSuccessfullyAtTheLength)
{
    ScopedSoundOutput untimed("null:untimed");
    const std::string file = std::string(KOLVI_MCI_CORPUS) + "/" + GetParam();

    NoticeCatcher catcher;
    TestDevice device(file, catcher.handle());
    ASSERT_EQ(device.openError(), 0u) << mciText(device.openError());
    const DWORD length = device.length();
    ASSERT_GT(length, 0u);
    // First from where it stands, then from every millisecond of it.
    std::vector<std::optional<DWORD>> starts{std::nullopt};
    for (DWORD ms = 0; ms <= length; ++ms)
        starts.push_back(ms);
    for (const std::optional<DWORD> from : starts) {
        const DWORD shown = from.value_or(DWORD(-1));
        catcher.notices.clear();
        ASSERT_EQ(device.play(from), 0u);
        ASSERT_TRUE(waitUntil([&] { return !catcher.notices.empty() && device.mode() == MCI_MODE_STOP; })) << shown;
        EXPECT_EQ(catcher.codes(), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL}) << "played from " << shown;
        EXPECT_EQ(device.position(), length) << "played from " << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(FoundByFuzzing, FormatChange,
                         ::testing::Values("format-change-after-seek", "format-flips-after-seek"));

}  // namespace
