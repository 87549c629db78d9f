#include "tests/support/windows/PlayerFixture.h"

#include "tests/support/EventLoopWait.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Mp3Fixture.h"

#include <cstdlib>

void PlayerFixture::SetUp()
{
    if (std::getenv("PULSE_SERVER") == nullptr)
        GTEST_SKIP() << "needs the test sound server (scripts/with-test-env.sh)";
    ASSERT_TRUE(dir_.isValid());
}

void PlayerFixture::TearDown() { stop(); }

std::string PlayerFixture::track(int number, double seconds)
{
    Mp3Spec settings;
    settings.seconds = seconds;
    settings.frequencyHz = 440.0 + 110.0 * number;
    const std::string path = folder() + "track " + std::to_string(number) + ".mp3";
    makeMp3(path, settings);
    return path;
}

void PlayerFixture::start()
{
    stop();
    application_ = std::make_unique<TApplication>(folder() + "kolviplayer");
    application_->CreateForm(frmKolviPlayer);
    form = frmKolviPlayer;
}

void PlayerFixture::start(const std::vector<std::string>& paths, int currentIndex)
{
    stop();
    paths_ = paths;
    std::string bytes = std::to_string(currentIndex) + "\r\r\n";
    for (const std::string& path : paths)
        bytes += path + "\r\r\n";
    writeFileBytes(listFile(), bytes);
    start();
}

void PlayerFixture::startLyricsWindow() { application_->CreateForm(frmLyrics); }

void PlayerFixture::stop()
{
    application_.reset();
    form = frmKolviPlayer = nullptr;
    frmLyrics = nullptr;
}

std::vector<std::string> PlayerFixture::paths() const
{
    std::vector<std::string> result;
    TListItems* items = form->lvFileList->Items();
    for (int i = 0; i < items->Count(); ++i)
        result.push_back(TfrmKolviPlayer::EntryPath(items->Item(i)));
    return result;
}

std::vector<std::string> PlayerFixture::captions() const
{
    std::vector<std::string> result;
    TListItems* items = form->lvFileList->Items();
    for (int i = 0; i < items->Count(); ++i)
        result.emplace_back(items->Item(i)->Caption());
    return result;
}

std::vector<int> PlayerFixture::selected() const
{
    std::vector<int> result;
    for (TListItem* item = form->lvFileList->Selected(); item != nullptr;
         item = form->lvFileList->GetNextSelected(item))
        result.push_back(item->Index());
    return result;
}

void PlayerFixture::select(std::initializer_list<int> indexes)
{
    for (int index : indexes)
        form->lvFileList->Items()->Item(index)->SetSelected(true);
}

int PlayerFixture::openedEntry() const
{
    for (std::size_t i = 0; i < paths_.size(); ++i)
        if (paths_[i] == form->MP3->FileName())
            return static_cast<int>(i);
    return -1;
}

bool PlayerFixture::waitForEnd()
{
    return waitUntil([this] {
        return form->MP3->Mode() == mdStopped && form->MP3->Position() == form->MP3->TrackLength(1);
    });
}

bool PlayerFixture::waitForPosition(DWORD ms)
{
    return waitUntil([this, ms] { return form->MP3->Position() > ms; });
}
