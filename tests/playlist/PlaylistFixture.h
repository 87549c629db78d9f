#pragma once
// The real main window, built by an application object whose executable
// lives in a temporary folder, so "List.lst" beside it is the test's own.
#include "Application.h"
#include "ScopedLocale.h"
#include "TfrmKolviPlayer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class PlaylistFixture : public ::testing::Test {
protected:
    std::string folder() const { return dir_.path().toStdString() + "/"; }
    std::string listFile() const { return folder() + "List.lst"; }

    // Creates the application and the main window (which loads List.lst).
    void start();
    // Destroys the application and so the window, which saves List.lst.
    void stop();

    std::vector<std::string> paths() const;
    std::vector<std::string> captions() const;
    std::vector<int> selected() const;
    void select(std::initializer_list<int> indexes);

    ScopedLocale locale_{Utf8Locale};
    QTemporaryDir dir_;
    std::unique_ptr<TApplication> application_;
    TfrmKolviPlayer* form = nullptr;
};
