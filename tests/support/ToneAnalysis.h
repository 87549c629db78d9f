#pragma once
// Measures a recorded or decoded tone: where the sound is, how loud, what pitch.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

using Samples = std::vector<std::int16_t>;  // channels interleaved

// One channel of interleaved samples.
Samples channelOf(const Samples& interleaved, int channels, int channel);
// Index of the first sample whose magnitude exceeds threshold.
std::optional<std::size_t> firstLoud(const Samples& samples, int threshold = 0);
// Index one past the last sample whose magnitude exceeds threshold.
std::size_t endOfLoud(const Samples& samples, int threshold = 0);
double rms(const Samples& samples, std::size_t begin, std::size_t end);
// The frequency of a tone, from its rising crossings of the zero line.
double toneFrequency(const Samples& samples, std::size_t begin, std::size_t end, int rate);
// Where needle first occurs in haystack, every sample unchanged and in order
// but with runs of silence allowed inside it: a sound server starved for a
// moment by a busy machine plays zeros and then goes on with the stream.
struct Occurrence {
    std::size_t begin;  // of needle's first sample in haystack
    std::size_t end;    // just after its last one
};
std::optional<Occurrence> findWithSilentGaps(const Samples& haystack, const Samples& needle);
