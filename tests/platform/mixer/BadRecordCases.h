#pragma once
// Records and handles a caller might get wrong, each of which must be
// refused with its error code and without touching the caller's memory.
#include "tests/support/MixerRequests.h"

#include <gtest/gtest.h>

#include <cstring>

namespace bad_records {

inline const HMIXER MadeUpHandle = reinterpret_cast<HMIXER>(std::uintptr_t{0xDEAD});
constexpr DWORD MuteControlType = 0x20010002;
constexpr DWORD HeadphonesComponentType = 5;

template <typename Record>
Record scribbled()
{
    Record record;
    std::memset(&record, 0xA5, sizeof record);
    return record;
}

template <typename Record>
bool stillScribbled(const Record& record)
{
    const Record original = scribbled<Record>();
    return std::memcmp(&record, &original, sizeof record) == 0;
}

inline void expectOpenRefusals()
{
    EXPECT_EQ(mixerOpen(nullptr, 0, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    HMIXER handle = MadeUpHandle;
    EXPECT_EQ(mixerOpen(&handle, 0, 0, 0, 0x00030000 /* a callback function */), MMSYSERR_INVALFLAG);
    EXPECT_EQ(handle, nullptr);
    handle = MadeUpHandle;
    EXPECT_EQ(mixerOpen(&handle, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(handle, nullptr);

    HMIXER closed = nullptr;
    ASSERT_EQ(mixerOpen(&closed, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(mixerClose(closed), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(closed), MMSYSERR_INVALHANDLE);
    MIXERLINEA line;
    EXPECT_EQ(speakersLine(closed, line), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerClose(nullptr), MMSYSERR_INVALHANDLE);
}

inline void expectCapsRefusals(HMIXER mixer)
{
    auto caps = scribbled<MIXERCAPSA>();
    EXPECT_EQ(mixerGetDevCapsA(mixer, nullptr, sizeof(MIXERCAPSA)), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCapsA(mixer, &caps, sizeof(MIXERCAPSA) - 1), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCapsA(mixer, &caps, sizeof(MIXERCAPSA) + 1), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCapsA(UINT_PTR{1}, &caps, sizeof(MIXERCAPSA)), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetDevCapsA(MadeUpHandle, &caps, sizeof(MIXERCAPSA)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerGetDevCapsA(HMIXER{nullptr}, &caps, sizeof(MIXERCAPSA)), MMSYSERR_INVALHANDLE);
    EXPECT_TRUE(stillScribbled(caps));
}

inline void expectLineRefusals(HMIXER mixer)
{
    constexpr DWORD byType = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE;
    const auto ask = [&](MIXERLINEA line, DWORD flags, HMIXER handle) {
        MIXERLINEA copy = line;
        const MMRESULT result = mixerGetLineInfoA(handle, &copy, flags);
        EXPECT_EQ(std::memcmp(&copy, &line, sizeof line), 0) << "a refused request changed the record";
        return result;
    };
    MIXERLINEA good{};
    good.cbStruct = sizeof(MIXERLINEA);
    good.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;

    EXPECT_EQ(mixerGetLineInfoA(mixer, nullptr, byType), MMSYSERR_INVALPARAM);
    for (DWORD size : {DWORD{0}, DWORD{sizeof(MIXERLINEA) - 1}, DWORD{sizeof(MIXERLINEA) + 4}}) {
        MIXERLINEA wrongSize = good;
        wrongSize.cbStruct = size;
        EXPECT_EQ(ask(wrongSize, byType, mixer), MMSYSERR_INVALPARAM) << "cbStruct " << size;
    }
    EXPECT_EQ(ask(good, MIXER_GETLINEINFOF_COMPONENTTYPE, mixer), MMSYSERR_INVALFLAG) << "no object type";
    EXPECT_EQ(ask(good, MIXER_OBJECTF_HMIXER | 1 /* source */, mixer), MMSYSERR_INVALFLAG);
    EXPECT_EQ(ask(good, MIXER_OBJECTF_HMIXER | 4 /* target type */, mixer), MMSYSERR_INVALFLAG);
    EXPECT_EQ(ask(good, byType | 0x100, mixer), MMSYSERR_INVALFLAG) << "unknown bit";
    EXPECT_EQ(ask(good, byType, MadeUpHandle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(ask(good, byType, nullptr), MMSYSERR_INVALHANDLE);

    MIXERLINEA headphones = good;
    headphones.dwComponentType = HeadphonesComponentType;
    EXPECT_EQ(ask(headphones, byType, mixer), MIXERR_INVALLINE);
    MIXERLINEA otherLine = good;
    otherLine.dwLineID = 12345;
    EXPECT_EQ(ask(otherLine, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID, mixer), MIXERR_INVALLINE);
    MIXERLINEA secondDestination = good;
    secondDestination.dwDestination = 1;
    EXPECT_EQ(ask(secondDestination, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION, mixer), MIXERR_INVALLINE);
}

inline void expectControlRefusals(HMIXER mixer, DWORD lineID, DWORD controlID)
{
    constexpr DWORD byType = MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE;
    auto control = scribbled<MIXERCONTROLA>();
    MIXERLINECONTROLSA good{};
    good.cbStruct = sizeof(MIXERLINECONTROLSA);
    good.dwLineID = lineID;
    good.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    good.cControls = 1;
    good.cbmxctrl = sizeof(MIXERCONTROLA);
    good.pamxctrl = &control;
    const auto ask = [&](auto change, DWORD flags, HMIXER handle) {
        MIXERLINECONTROLSA request = good;
        change(request);
        return mixerGetLineControlsA(handle, &request, flags);
    };
    const auto same = [](MIXERLINECONTROLSA&) {};

    EXPECT_EQ(mixerGetLineControlsA(mixer, nullptr, byType), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ask([](auto& r) { r.cbStruct = 24; }, byType, mixer), MMSYSERR_INVALPARAM) << "the 32-bit size";
    EXPECT_EQ(ask([](auto& r) { r.cbmxctrl = sizeof(MIXERCONTROLA) - 1; }, byType, mixer), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ask([](auto& r) { r.pamxctrl = nullptr; }, byType, mixer), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ask([](auto& r) { r.cControls = 0; }, byType, mixer), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ask([](auto& r) { r.cControls = 2; }, byType, mixer), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ask(same, MIXER_GETLINECONTROLSF_ONEBYTYPE, mixer), MMSYSERR_INVALFLAG) << "no object type";
    EXPECT_EQ(ask(same, MIXER_OBJECTF_HMIXER | 3, mixer), MMSYSERR_INVALFLAG) << "unknown query";
    EXPECT_EQ(ask(same, byType, MadeUpHandle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(ask([](auto& r) { r.dwLineID = 12345; }, byType, mixer), MIXERR_INVALLINE);
    EXPECT_EQ(ask([](auto& r) { r.dwLineID = 12345; }, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL, mixer),
              MIXERR_INVALLINE);
    EXPECT_EQ(ask([](auto& r) { r.dwControlType = MuteControlType; }, byType, mixer), MIXERR_INVALCONTROL);
    EXPECT_EQ(ask([&](auto& r) { r.dwControlID = controlID + 1; }, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID,
                  mixer),
              MIXERR_INVALCONTROL);
    EXPECT_TRUE(stillScribbled(control));
}

inline void expectVolumeRefusals(HMIXER mixer, DWORD controlID)
{
    constexpr DWORD value = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    DWORD before = 0;
    ASSERT_EQ(readVolume(mixer, controlID, before), MMSYSERR_NOERROR);

    for (bool writing : {false, true}) {
        SCOPED_TRACE(writing ? "mixerSetControlDetails" : "mixerGetControlDetailsA");
        MIXERCONTROLDETAILS_UNSIGNED unsignedValue{0xA5A5A5A5};
        const MIXERCONTROLDETAILS good = volumeDetails(controlID, unsignedValue);
        const auto call = [&](MIXERCONTROLDETAILS* details, DWORD flags, HMIXER handle) {
            return writing ? mixerSetControlDetails(handle, details, flags)
                           : mixerGetControlDetailsA(handle, details, flags);
        };
        const auto ask = [&](auto change, DWORD flags, HMIXER handle) {
            MIXERCONTROLDETAILS request = good;
            change(request);
            return call(&request, flags, handle);
        };
        const auto same = [](MIXERCONTROLDETAILS&) {};

        EXPECT_EQ(call(nullptr, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask([](auto& d) { d.cbStruct = 24; }, value, mixer), MMSYSERR_INVALPARAM) << "the 32-bit size";
        EXPECT_EQ(ask([](auto& d) { d.cChannels = 0; }, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask([](auto& d) { d.cChannels = 2; }, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask([](auto& d) { d.cMultipleItems = 1; }, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask([](auto& d) { d.cbDetails = 8; }, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask([](auto& d) { d.paDetails = nullptr; }, value, mixer), MMSYSERR_INVALPARAM);
        EXPECT_EQ(ask(same, MIXER_GETCONTROLDETAILSF_VALUE, mixer), MMSYSERR_INVALFLAG) << "no object type";
        EXPECT_EQ(ask(same, MIXER_OBJECTF_HMIXER | 1 /* list texts */, mixer), MMSYSERR_INVALFLAG);
        EXPECT_EQ(ask(same, value, MadeUpHandle), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(ask(same, value, nullptr), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(ask([](auto& d) { d.dwControlID = 0; }, value, mixer), MIXERR_INVALCONTROL);
        EXPECT_EQ(ask([&](auto& d) { d.dwControlID = controlID + 1; }, value, mixer), MIXERR_INVALCONTROL);
        EXPECT_EQ(unsignedValue.dwValue, 0xA5A5A5A5u) << "a refused request touched the value";
    }

    DWORD after = 0;
    ASSERT_EQ(readVolume(mixer, controlID, after), MMSYSERR_NOERROR);
    EXPECT_EQ(after, before) << "a refused write changed the volume";
}

} // namespace bad_records
