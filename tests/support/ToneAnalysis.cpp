#include "tests/support/ToneAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

Samples channelOf(const Samples& interleaved, int channels, int channel)
{
    Samples one;
    one.reserve(interleaved.size() / static_cast<std::size_t>(channels));
    for (std::size_t i = static_cast<std::size_t>(channel); i < interleaved.size(); i += static_cast<std::size_t>(channels))
        one.push_back(interleaved[i]);
    return one;
}

std::optional<std::size_t> firstLoud(const Samples& samples, int threshold)
{
    const auto found = std::find_if(samples.begin(), samples.end(), [threshold](std::int16_t s) { return std::abs(s) > threshold; });
    if (found == samples.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - samples.begin());
}

std::size_t endOfLoud(const Samples& samples, int threshold)
{
    const auto found = std::find_if(samples.rbegin(), samples.rend(), [threshold](std::int16_t s) { return std::abs(s) > threshold; });
    return static_cast<std::size_t>(samples.rend() - found);
}

double rms(const Samples& samples, std::size_t begin, std::size_t end)
{
    end = std::min(end, samples.size());
    if (begin >= end)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double toneFrequency(const Samples& samples, std::size_t begin, std::size_t end, int rate)
{
    end = std::min(end, samples.size());
    // Rising crossings with hysteresis, so that noise near zero and quiet
    // stretches (an encoder's leading silence) do not count.
    const double threshold = 0.3 * rms(samples, begin, end);
    bool low = false;
    std::optional<std::size_t> first;
    std::size_t last = 0;
    int cycles = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (samples[i] < -threshold) {
            low = true;
        } else if (low && samples[i] > threshold) {
            low = false;
            if (first)
                ++cycles;
            else
                first = i;
            last = i;
        }
    }
    if (!first || cycles == 0)
        return 0.0;
    return static_cast<double>(cycles) * rate / static_cast<double>(last - *first);
}

namespace {

// The end of needle heard from start on, or nothing when a sample differs.
std::optional<std::size_t> matchWithSilentGaps(const Samples& haystack, std::size_t start, const Samples& needle)
{
    std::size_t at = start;
    for (std::size_t next = 0; next < needle.size(); ++at) {
        if (at == haystack.size())
            return std::nullopt;
        if (haystack[at] == needle[next])
            ++next;
        else if (haystack[at] != 0)
            return std::nullopt;
    }
    return at;
}

}  // namespace

std::optional<Occurrence> findWithSilentGaps(const Samples& haystack, const Samples& needle)
{
    if (needle.empty())
        return Occurrence{0, 0};
    // Candidates start where needle's first samples occur unbroken.
    const auto anchorEnd = needle.begin() + static_cast<long>(std::min<std::size_t>(needle.size(), 256));
    for (auto candidate = std::search(haystack.begin(), haystack.end(), needle.begin(), anchorEnd);
         candidate != haystack.end(); candidate = std::search(candidate + 1, haystack.end(), needle.begin(), anchorEnd)) {
        const auto begin = static_cast<std::size_t>(candidate - haystack.begin());
        if (const auto end = matchWithSilentGaps(haystack, begin, needle))
            return Occurrence{begin, *end};
    }
    return std::nullopt;
}
