#pragma once
// A PulseAudio sink's volume as another program sees and sets it, through
// pactl: the independent witness for tests of the mixer.
#include <string>
#include <vector>

// The raw volume of each channel (65536 is 100%), in the sink's channel
// order; empty when pactl fails or prints nothing it understands.
std::vector<long> sinkVolumes(const std::string& server, const std::string& sink);
// One raw value per channel, or one for all; false when pactl fails.
bool setSinkVolumes(const std::string& server, const std::string& sink, const std::vector<long>& volumes);

// The suite's shared sink, from the environment scripts/with-test-env.sh
// exports; empty strings outside it.
std::string sharedPulseServer();
std::string sharedSinkName();
