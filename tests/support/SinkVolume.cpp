#include "tests/support/SinkVolume.h"

#include "tests/support/PulseDaemon.h"

#include <QRegularExpression>

#include <cstdlib>

std::vector<long> sinkVolumes(const std::string& server, const std::string& sink)
{
    // "Volume: front-left: 40000 /  61% / -12.87 dB,   front-right: 40000 / ..."
    const QString out = QString::fromStdString(pactl(server, {"get-sink-volume", QString::fromStdString(sink)}));
    static const QRegularExpression channel(R"(([a-z0-9-]+): (\d+) /)");
    std::vector<long> volumes;
    for (const QRegularExpressionMatch& match : channel.globalMatch(out.section('\n', 0, 0)))
        volumes.push_back(match.captured(2).toLong());
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
