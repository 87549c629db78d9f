// A stream whose frames change rate and channel count, as fuzzing found it
// (51 bytes that the decoder resynchronises on): every play ends successfully
// at the length, however often it is played and from wherever. Before, a
// play after the first one passed the other format's samples off as this
// one's and stopped short with a failure, so the player never moved on.
#include "FileBytes.h"
#include "MciTesting.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const std::string ChangingStream(
    "\xff\x04\x8c\xff\xff\x03\x00\xff\xff\xff\x00\x0f\x00\xff\x55\x55\x00\x00\x00\x00\x00\x00\x00\x00\x55\x55"
    "\x55\x5f\xff\xff\xff\xff\xff\x04\xdc\x55\x55\x55\x55\x55\xff\xff\x04\xdc\x55\x55\x55\x55\x55\x55\x55",
    51);

TEST(FormatChange, EveryPlayEndsSuccessfullyAtTheLength)
{
    NullOutputScope untimed;
    QTemporaryDir dir;
    const std::string file = dir.filePath("changing.mp3").toStdString();
    writeFileBytes(file, ChangingStream);

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

}  // namespace
