#include "tests/support/FakeMixer.h"

#include "platform/mixer/MixerRecords.h"

#include <map>
#include <utility>

struct FakeMixer::State {
    Setup setup;
    MixerDeviceInfo info;
    DWORD volume = 0;
    std::vector<DWORD> writes;
    std::map<Call, int> calls;
    std::vector<MixerOpenRequest> opens;

    // Counts the call and tells whether the setup lets it succeed.
    bool answers(Call call)
    {
        ++calls[call];
        return !setup.failing.contains(call);
    }
};

class FakeMixer::Device : public MixerDevice {
public:
    explicit Device(std::shared_ptr<State> state) : state_(std::move(state)) {}

    const MixerDeviceInfo* describe(MixerPart part) override
    {
        return state_->answers(callOf(part)) ? &state_->info : nullptr;
    }

    bool read(DWORD& value) override
    {
        if (!state_->answers(Call::GetControlDetails))
            return false;
        value = state_->volume;
        return true;
    }

    bool write(DWORD value) override
    {
        state_->writes.push_back(value);
        if (!state_->answers(Call::SetControlDetails))
            return false;
        state_->volume = clampVolume(value, state_->info);
        return true;
    }

private:
    static Call callOf(MixerPart part)
    {
        switch (part) {
        case MixerPart::Device:
            return Call::GetDevCaps;
        case MixerPart::SpeakersLine:
            return Call::GetLineInfo;
        case MixerPart::VolumeControl:
            break;
        }
        return Call::GetLineControls;
    }

    std::shared_ptr<State> state_;
};

FakeMixer::FakeMixer() : FakeMixer(Setup{}) {}

FakeMixer::FakeMixer(const Setup& setup) { reset(setup); }

void FakeMixer::reset(const Setup& setup)
{
    state_ = std::make_shared<State>();
    state_->setup = setup;
    state_->volume = setup.volume;
    state_->info.name = "Fake mixer";
    state_->info.driverVersion = 0x0100;
    state_->info.lineName = "Master";
    state_->info.channels = 2;
    state_->info.minimum = setup.minimum;
    state_->info.maximum = setup.maximum;
}

DWORD FakeMixer::volume() const { return state_->volume; }

const std::vector<DWORD>& FakeMixer::writes() const { return state_->writes; }

int FakeMixer::calls(Call call) const
{
    const auto found = state_->calls.find(call);
    return found == state_->calls.end() ? 0 : found->second;
}

const std::vector<MixerOpenRequest>& FakeMixer::opens() const { return state_->opens; }

std::unique_ptr<MixerDevice> FakeMixer::open(const MixerOpenRequest* request)
{
    const bool present = !state_->setup.failing.contains(Call::GetNumDevs);
    if (request == nullptr) {
        ++state_->calls[Call::GetNumDevs];
        return present ? std::make_unique<Device>(state_) : nullptr;
    }
    state_->opens.push_back(*request);
    const bool opens = state_->answers(Call::Open);
    return present && opens ? std::make_unique<Device>(state_) : nullptr;
}
