#pragma once
// A stand-in for the mixer calls of platform/Mixer.h, for tests of what the
// player does when the sound card's mixer is missing or fails. Linking a
// test with the CMake target kolvi_fake_mixer puts these definitions in the
// binary itself, so the library's real ones (kept in one file of
// kolvi_platform) are never linked:
//     kolvi_add_test(MyTest MyTest.cpp LIBS kolvi_fake_mixer kolvi_forms)
// The stand-in checks every record exactly as the real calls do, so a
// wrongly filled record is refused here too.
#include "Mixer.h"

#include <set>
#include <vector>

namespace FakeMixer {

enum class Call { GetNumDevs, Open, GetDevCaps, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails };

struct Setup {
    // These calls fail: GetNumDevs reports no device (so Open refuses device
    // 0), GetLineInfo finds no speakers line, GetLineControls no volume
    // control; the others answer an error.
    std::set<Call> failing = {};
    DWORD minimum = 0;
    DWORD maximum = 65535;
    DWORD volume = 32768;
};

// Forgets every handle, call and write, and takes the new setup.
void reset(const Setup& setup = {});

// The volume now: the setup's, then the last successful write, clamped.
DWORD volume();
// Every value handed to mixerSetControlDetails with a valid record, failed
// writes included, in order.
const std::vector<DWORD>& writes();
// How often a call was made with valid records and handle.
int calls(Call call);

struct OpenRequest {
    UINT device = 0;
    DWORD_PTR callback = 0;
    DWORD_PTR instance = 0;
    DWORD flags = 0;
};
const std::vector<OpenRequest>& opens();

} // namespace FakeMixer
