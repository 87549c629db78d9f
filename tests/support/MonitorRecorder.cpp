#include "tests/support/MonitorRecorder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

namespace {

constexpr std::streamoff FrameBytes = 4;  // two channels of 16 bits

std::vector<std::int16_t> fromBytes(const std::string& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto low = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto high = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    return samples;
}

}  // namespace

MonitorRecorder::MonitorRecorder(std::string sink) : sink_(std::move(sink)) {}

std::string MonitorRecorder::file() const { return dir_.filePath("monitor.raw").toStdString(); }

bool MonitorRecorder::start()
{
    parec_ = std::make_unique<ChildProcess>(std::vector<std::string>{"parec", "-d", sink_ + ".monitor", "--raw", "--format=s16le",
                                                                     "--rate=44100", "--channels=2", "--latency-msec=20"},
                                            file());
    for (int attempt = 0; attempt < 200 && parec_->running(); ++attempt) {
        std::error_code error;
        if (std::filesystem::file_size(file(), error) > 0 && !error)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

std::vector<std::int16_t> MonitorRecorder::arrived()
{
    std::ifstream in(file(), std::ios::binary | std::ios::ate);
    const std::streamoff recorded = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    const std::streamoff whole = (recorded - taken_) / FrameBytes * FrameBytes;
    if (whole <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(whole), '\0');
    if (!in.seekg(taken_) || !in.read(bytes.data(), whole))
        return {};
    taken_ += whole;
    return fromBytes(bytes);
}

std::vector<std::int16_t> MonitorRecorder::stop()
{
    if (!parec_)
        return {};
    parec_.reset();
    std::ifstream in(file(), std::ios::binary);
    return fromBytes(std::string((std::istreambuf_iterator<char>(in)), {}));
}
