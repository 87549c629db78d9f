#pragma once
// The player's two real windows, made as start-up makes them: an
// application object whose executable lives in a temporary folder (so
// "List.lst" there is the test's own), the main window, then the hidden
// lyrics window. The globals frmKolviPlayer and frmLyrics name them.
#include "Application.h"
#include "ScopedLocale.h"
#include "TfrmKolviPlayer.h"
#include "TfrmLyrics.h"

#include <QTemporaryDir>
#include <memory>
#include <string>

class PlayerWindows {
public:
    PlayerWindows();
    // Destroys both windows, the lyrics window first, as the application does.
    ~PlayerWindows();
    PlayerWindows(const PlayerWindows&) = delete;
    PlayerWindows& operator=(const PlayerWindows&) = delete;

    std::string folder() const { return dir_.path().toStdString() + "/"; }
    TfrmKolviPlayer* main() const { return frmKolviPlayer; }
    TfrmLyrics* lyrics() const { return frmLyrics; }

private:
    ScopedLocale locale_{Utf8Locale};
    QTemporaryDir dir_;
    std::unique_ptr<TApplication> application_;
};

// A minute-long MP3 file made by lame with an ID3v1 tag appended; title and
// artist are padded with spaces to their 30 bytes.
void writeMp3WithTag(const std::string& path, const std::string& title, const std::string& artist);
// A minute-long MP3 file without a tag.
void writeMp3WithoutTag(const std::string& path);
