#include "lyrics/LyricsSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace {

// A settings file is a few kilobytes; anything far larger is not ours.
constexpr qint64 LargestFile = 4 << 20;
// Shifts of more tracks than a listener ever sets are not kept.
constexpr qsizetype MostOffsets = 5000;
constexpr int LargestOffsetMs = 600000;

QString TrackKey(const std::string& trackPath)
{
    return QString::fromLatin1(QByteArray::fromStdString(trackPath).toPercentEncoding("/"));
}

}  // namespace

QString LyricsSettings::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/kolviplayer/lyrics.json");
}

LyricsSettings::LyricsSettings(const QString& path) : path_(path.isEmpty() ? DefaultPath() : path)
{
    QFile file(path_);
    if (!QFileInfo(path_).isFile() || file.size() > LargestFile || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const double zoom = root.value(QStringLiteral("zoom")).toDouble(1.0);
    if (std::isfinite(zoom))
        zoom_ = std::clamp(zoom, LeastZoom, MostZoom);
    const QJsonObject offsets = root.value(QStringLiteral("offsets")).toObject();
    for (auto entry = offsets.begin(); entry != offsets.end() && offsets_.size() < MostOffsets; ++entry) {
        const double ms = entry.value().toDouble(0.0);
        if (std::isfinite(ms) && ms != 0.0)
            offsets_.insert(entry.key(), static_cast<int>(std::clamp<double>(ms, -LargestOffsetMs, LargestOffsetMs)));
    }
}

int LyricsSettings::OffsetMs(const std::string& trackPath) const
{
    return offsets_.value(TrackKey(trackPath), 0);
}

void LyricsSettings::SetOffsetMs(const std::string& trackPath, int offsetMs)
{
    const QString key = TrackKey(trackPath);
    offsetMs = std::clamp(offsetMs, -LargestOffsetMs, LargestOffsetMs);
    if (offsetMs == 0)
        offsets_.remove(key);
    else if (offsets_.contains(key) || offsets_.size() < MostOffsets)
        offsets_.insert(key, offsetMs);
    Save();
}

void LyricsSettings::SetZoom(double zoom)
{
    zoom_ = std::clamp(zoom, LeastZoom, MostZoom);
    Save();
}

void LyricsSettings::Save() const
{
    QJsonObject offsets;
    for (auto entry = offsets_.begin(); entry != offsets_.end(); ++entry)
        offsets.insert(entry.key(), entry.value());
    QJsonObject root;
    root.insert(QStringLiteral("zoom"), zoom_);
    root.insert(QStringLiteral("offsets"), offsets);
    // Written whole or not at all: a run ended half-way leaves the old file.
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return;
    QSaveFile file(path_);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
        file.commit();
    }
}
