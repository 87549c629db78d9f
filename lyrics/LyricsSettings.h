#pragma once
// What the listener set in the lyrics window and keeps across runs: the
// shift of each track's lyrics and the window's zoom. One small JSON file
// in the user's config folder ($XDG_CONFIG_HOME/kolviplayer/lyrics.json);
// a damaged or unreadable file counts as none, and one that cannot be
// written loses nothing but the change.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <string>

class LyricsSettings {
public:
    static constexpr double LeastZoom = 0.5;
    static constexpr double MostZoom = 3.0;

    // Reads the file at path; the default path when path is empty.
    explicit LyricsSettings(const QString& path = QString());

    static QString DefaultPath();

    // Milliseconds the lyrics of the track at trackPath (bytes in the
    // locale's encoding) come sooner; 0 when never set.
    int OffsetMs(const std::string& trackPath) const;
    void SetOffsetMs(const std::string& trackPath, int offsetMs);

    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);

private:
    void Save() const;

    QString path_;
    QHash<QString, int> offsets_;  // by the track's percent-encoded path
    double zoom_ = 1.0;
};
