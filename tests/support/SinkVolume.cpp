#include "SinkVolume.h"

#include "PulseDaemon.h"

#include <cstdlib>
#include <regex>

std::vector<long> sinkVolumes(const std::string& server, const std::string& sink)
{
    // "Volume: front-left: 40000 /  61% / -12.87 dB,   front-right: 40000 / ..."
    const std::string out = pactl(server, {"get-sink-volume", QString::fromStdString(sink)});
    const std::string firstLine = out.substr(0, out.find('\n'));
    static const std::regex channel(R"(([a-z0-9-]+): (\d+) /)");
    std::vector<long> volumes;
    for (auto it = std::sregex_iterator(firstLine.begin(), firstLine.end(), channel); it != std::sregex_iterator(); ++it)
        volumes.push_back(std::stol((*it)[2]));
    return volumes;
}

bool setSinkVolumes(const std::string& server, const std::string& sink, const std::vector<long>& volumes)
{
    QStringList arguments{"set-sink-volume", QString::fromStdString(sink)};
    for (long volume : volumes)
        arguments << QString::number(volume);
    return !pactl(server, arguments).empty();
}

std::string sharedPulseServer()
{
    const char* server = std::getenv("PULSE_SERVER");
    return server ? server : "";
}

std::string sharedSinkName()
{
    const char* sink = std::getenv("KOLVI_TEST_SINK");
    return sink ? sink : "";
}
