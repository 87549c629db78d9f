#pragma once
// The player's real windows in a test of their own, made as start-up makes
// them: an application object whose executable lives in a temporary folder
// (so "List.lst" there is the test's), the main window, then the hidden
// lyrics window if the test wants it; the playlist as the window holds it,
// and real MP3 tones of their own pitch to play through the real media device
// into the test sound server. Outside the test environment its tests are
// skipped.
#include "framework/Application.h"
#include "tests/support/ScopedLocale.h"
#include "forms/TfrmKolviPlayer.h"
#include "forms/TfrmLyrics.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class PlayerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string folder() const { return dir_.path().toStdString() + "/"; }
    std::string listFile() const { return folder() + "List.lst"; }

    // A tone of its own pitch (440 Hz and up by 110 Hz per index) in the folder.
    std::string track(int number, double seconds);
    // A path in the folder that names no file.
    std::string missing(const std::string& name) const { return folder() + name; }
    // Builds the main window, which loads the "List.lst" the test wrote, if any.
    void start();
    // Writes "List.lst" with the current index and the paths, then builds the main window.
    void start(const std::vector<std::string>& paths, int currentIndex = -1);
    // Builds the hidden lyrics window after the main window.
    void startLyricsWindow();
    // Destroys the windows, the lyrics window first, as the application does;
    // the main window saves "List.lst".
    void stop();

    // The entries' paths and captions, in order.
    std::vector<std::string> paths() const;
    std::vector<std::string> captions() const;
    std::vector<int> selected() const;
    void select(std::initializer_list<int> indexes);
    // The index, among the paths given to start, of the one MP3 holds, or -1.
    int openedEntry() const;
    QString pauseCaption() const { return form->btnPause->Caption(); }
    // Runs the event loop until the device has played its file to the end.
    bool waitForEnd();
    // Runs the event loop until the device's position has passed ms.
    bool waitForPosition(DWORD ms);

    ScopedLocale locale_{Utf8Locale};
    QTemporaryDir dir_;
    std::unique_ptr<TApplication> application_;
    // The main window; the globals frmKolviPlayer and frmLyrics name the
    // windows, as in the program.
    TfrmKolviPlayer* form = nullptr;
    std::vector<std::string> paths_;
};

inline const QString Pause = QString::fromUtf8("멈춤");
inline const QString Continue = QString::fromUtf8("계속");
