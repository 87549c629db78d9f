// A long run of track changes on the real window and the real decoder, into
// a null output that takes the sound at once: after a warm-up the process
// holds no more descriptors and hardly more memory than before.
#include "tests/support/windows/PlayerFixture.h"
#include "tests/support/ScopedBackends.h"

#include <filesystem>
#include <unistd.h>

namespace {

constexpr int WarmUpChanges = 100;
constexpr int SoakChanges = 1000;
constexpr long AllowedGrowthBytes = 4L * 1024 * 1024;

long residentBytes()
{
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    EXPECT_NE(statm, nullptr);
    EXPECT_EQ(std::fscanf(statm, "%ld %ld", &pages, &resident), 2);
    std::fclose(statm);
    return resident * ::sysconf(_SC_PAGESIZE);
}

int openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

bool sanitizedBuild()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

class Soak : public PlayerFixture {
protected:
    // Plays the current track to its end and lets the timer's handler move
    // on, as its tick would; answers false when a track did not end.
    bool changeTracks(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int before = form->CurrentIndex;
            if (!waitForEnd())
                return false;
            form->TrackTimerTimer(form->TrackTimer);
            if (form->CurrentIndex != (before + 1) % static_cast<int>(paths_.size()) || form->IsPlaying != 1)
                return false;
        }
        return true;
    }
};

TEST_F(Soak, AThousandTrackChangesKeepDescriptorsAndMemoryFlat)
{
    ScopedSoundOutput untimed("null:untimed");
    std::vector<std::string> tracks;
    for (int i = 0; i < 5; ++i)
        tracks.push_back(track(i, 0.2 + 0.1 * i));
    start(tracks);
    // The test ticks for the timer: a tick of its own landing between a
    // track's end and the test's would move on twice.
    form->TrackTimer->SetEnabled(false);
    form->btnNextClick(form->btnNext);
    ASSERT_EQ(form->CurrentIndex, 0);

    ASSERT_TRUE(changeTracks(WarmUpChanges));
    const long rssBefore = residentBytes();
    const int fdsBefore = openDescriptors();
    ASSERT_TRUE(changeTracks(SoakChanges));
    const long rssAfter = residentBytes();
    const int fdsAfter = openDescriptors();

    std::printf("soak over %d track changes: RSS %ld kB -> %ld kB, open descriptors %d -> %d\n", SoakChanges,
                rssBefore / 1024, rssAfter / 1024, fdsBefore, fdsAfter);
    EXPECT_EQ(fdsAfter, fdsBefore);
    // The sanitizer's quarantine holds freed memory on purpose; its leak
    // check at exit covers that build instead.
    if (!sanitizedBuild()) {
        EXPECT_LT(rssAfter - rssBefore, AllowedGrowthBytes);
    }
}

}  // namespace
