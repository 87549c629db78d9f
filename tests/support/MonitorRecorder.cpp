#include "MonitorRecorder.h"

#include <QFile>
#include <QThread>

MonitorRecorder::MonitorRecorder(std::string sink) : sink_(std::move(sink)) {}

MonitorRecorder::~MonitorRecorder() { stop(); }

bool MonitorRecorder::start()
{
    const QString file = dir_.filePath("monitor.raw");
    parec_ = std::make_unique<QProcess>();
    parec_->setStandardOutputFile(file);
    parec_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    parec_->start("parec", {"-d", QString::fromStdString(sink_ + ".monitor"), "--raw", "--format=s16le", "--rate=44100",
                            "--channels=2", "--latency-msec=20"});
    if (!parec_->waitForStarted(5000))
        return false;
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (QFile(file).size() > 0)
            return true;
        if (parec_->state() != QProcess::Running)
            return false;
        QThread::msleep(25);
    }
    return false;
}

std::vector<std::int16_t> MonitorRecorder::stop()
{
    if (!parec_)
        return {};
    parec_->terminate();
    if (!parec_->waitForFinished(5000)) {
        parec_->kill();
        parec_->waitForFinished(5000);
    }
    parec_.reset();
    QFile file(dir_.filePath("monitor.raw"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto low = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(2 * i)]);
        const auto high = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(2 * i + 1)]);
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    return samples;
}
