#pragma once
// The lyrics window's keys and wheel: "[" and "]" shift the timing of the
// track's synchronised lyrics by a tenth of a second (shown briefly, as
// "+0.3초"), Ctrl with the wheel, "+", "-" and "0" zoom the page. Both are
// kept across runs (LyricsSettings). Ctrl+S saves the lyrics shown, Ctrl+F
// offers other lyrics to pick from; both are in the page's menu too.
#include "lyrics/LyricsSettings.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

class QKeyEvent;
class QLabel;
class QWidget;
class TCppWebBrowser;

class LyricsListenerKeys : public QObject {
public:
    static constexpr int OffsetStepMs = 100;

    // offsetChanged: told the new shift of the track whose lyrics are shown;
    // saveAsked: the listener asked to keep the lyrics shown in a file
    // (Ctrl+S, or "가사 파일로 저장" in the page's menu); chooseAsked: to
    // pick the track's lyrics among the online database's (Ctrl+F, or
    // "다른 가사 고르기").
    LyricsListenerKeys(QWidget* window, TCppWebBrowser* browser, std::function<void(int offsetMs)> offsetChanged,
                       std::function<void()> saveAsked, std::function<void()> chooseAsked);

    // Shows text briefly over the page.
    void Say(const QString& text);

    // The track whose synchronised lyrics are shown now; empty for none.
    // Answers the shift kept for it.
    int FollowTrack(const std::string& trackPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool KeyPressed(const QKeyEvent& key);
    LyricsSettings& Settings();
    void ShiftBy(int ms);
    void ZoomTo(double zoom);

    QWidget* window_;
    TCppWebBrowser* browser_;
    std::function<void(int)> offsetChanged_;
    std::function<void()> saveAsked_;
    std::function<void()> chooseAsked_;
    std::optional<LyricsSettings> settings_;  // read on first need
    std::string trackPath_;
    QLabel* note_;
    QTimer noteTimer_;
};
