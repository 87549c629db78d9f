#include "tests/support/Mp3Fixture.h"

#include <QProcess>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace {

void putLE(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

long expectedSamples(const Mp3Spec& settings) { return std::lround(settings.seconds * settings.sampleRate); }

void makeWav(const std::string& path, const Mp3Spec& settings)
{
    const long frames = expectedSamples(settings);
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames * settings.channels * 2);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out.write("RIFF", 4);
    putLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLE(out, 16, 4);
    putLE(out, 1, 2);
    putLE(out, static_cast<std::uint32_t>(settings.channels), 2);
    putLE(out, static_cast<std::uint32_t>(settings.sampleRate), 4);
    putLE(out, static_cast<std::uint32_t>(settings.sampleRate * settings.channels * 2), 4);
    putLE(out, static_cast<std::uint32_t>(settings.channels * 2), 2);
    putLE(out, 16, 2);
    out.write("data", 4);
    putLE(out, dataBytes, 4);
    for (long i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * settings.frequencyHz * static_cast<double>(i) / settings.sampleRate;
        const auto sample = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(phase)));
        for (int c = 0; c < settings.channels; ++c)
            putLE(out, static_cast<std::uint16_t>(sample), 2);
    }
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void makeMp3(const std::string& path, const Mp3Spec& settings)
{
    const std::string wav = path + ".wav";
    makeWav(wav, settings);
    QStringList args{"--quiet", "--noreplaygain"};
    if (settings.vbr)
        args << "-V" << "4";
    else
        args << "-b" << QString::number(settings.bitrateKbps) << "--cbr";
    if (!settings.infoHeader)
        args << "-t";
    args << "-m" << (settings.channels == 1 ? "m" : "j");
    for (const auto& extra : settings.extraLameArguments)
        args << QString::fromStdString(extra);
    args << QString::fromStdString(wav) << QString::fromStdString(path);
    QProcess lame;
    lame.start("lame", args);
    const bool ok = lame.waitForFinished(60000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0;
    std::remove(wav.c_str());
    if (!ok)
        throw std::runtime_error("lame failed for " + path + ": " + lame.readAllStandardError().toStdString());
}
