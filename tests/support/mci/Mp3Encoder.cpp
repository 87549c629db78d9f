#include "tests/support/mci/Mp3Encoder.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* lame) const { lame_close(lame); }
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

void encodeMp3(const std::string& path, const Mp3Spec& settings, const Mp3Extras& extras)
{
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame)
        throw std::runtime_error("lame_init failed");
    lame_global_flags* gf = lame.get();
    lame_set_in_samplerate(gf, settings.sampleRate);
    lame_set_out_samplerate(gf, settings.sampleRate);
    lame_set_num_channels(gf, settings.channels);
    lame_set_mode(gf, settings.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_findReplayGain(gf, 0);
    lame_set_bWriteVbrTag(gf, settings.infoHeader ? 1 : 0);
    if (settings.vbr) {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_quality(gf, 4);
    } else {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, settings.bitrateKbps);
    }
    lame_set_free_format(gf, extras.freeFormat ? 1 : 0);
    if (lame_init_params(gf) < 0)
        throw std::runtime_error("lame refused the settings for " + path);

    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "w+b"));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    const long frames = expectedSamples(settings);
    constexpr long Block = 4096;
    std::vector<short> pcm(static_cast<std::size_t>(Block * settings.channels));
    std::vector<unsigned char> mp3(static_cast<std::size_t>(Block * 5 / 4 + 7200));
    const auto put = [&](int bytes) {
        if (bytes < 0 || std::fwrite(mp3.data(), 1, static_cast<std::size_t>(bytes), file.get()) != static_cast<std::size_t>(bytes))
            throw std::runtime_error("lame failed for " + path);
    };
    for (long start = 0; start < frames; start += Block) {
        const long count = std::min(Block, frames - start);
        for (long i = 0; i < count; ++i) {
            const double phase = 2.0 * std::numbers::pi * settings.frequencyHz * static_cast<double>(start + i) / settings.sampleRate;
            const auto sample = static_cast<short>(std::lround(12000.0 * std::sin(phase)));
            for (int c = 0; c < settings.channels; ++c)
                pcm[static_cast<std::size_t>(i * settings.channels + c)] = sample;
        }
        const int bytes = settings.channels == 1
                              ? lame_encode_buffer(gf, pcm.data(), pcm.data(), static_cast<int>(count), mp3.data(), static_cast<int>(mp3.size()))
                              : lame_encode_buffer_interleaved(gf, pcm.data(), static_cast<int>(count), mp3.data(), static_cast<int>(mp3.size()));
        put(bytes);
    }
    put(lame_encode_flush(gf, mp3.data(), static_cast<int>(mp3.size())));
    if (settings.infoHeader)
        lame_mp3_tags_fid(gf, file.get());
}
