#pragma once
// MP3 files made by the suite itself: a sine tone written as WAV, encoded by
// the lame command-line encoder.
#include <string>
#include <vector>

struct Mp3Spec {
    double seconds = 1.0;
    double frequencyHz = 440.0;
    int sampleRate = 44100;
    int channels = 2;
    int bitrateKbps = 128;  // CBR bitrate; with vbr the quality is -V 4
    bool vbr = false;
    bool infoHeader = true;  // false: lame -t, no Xing/Info frame
    std::vector<std::string> extraLameArguments;
};

// Writes the MP3 to path; throws std::runtime_error when lame fails.
void makeMp3(const std::string& path, const Mp3Spec& settings = {});

// The tone as 16-bit PCM WAV, as fed to lame.
void makeWav(const std::string& path, const Mp3Spec& settings);

// Total number of samples per channel that decoding the MP3 should give.
long expectedSamples(const Mp3Spec& settings);
