// The playlist at scale: how much longer the main window takes to show with
// a "List.lst" of 100,000 entries than with none, how long saving them
// takes, and how long the delete button takes for 50,000 scattered
// selected entries. Run under a display, e.g.
//   scripts/with-test-env.sh build/bench/bench/bench_playlist
#include "framework/Application.h"
#include "forms/TfrmKolviPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int Entries = 100'000;
constexpr int Rounds = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds(const QElapsedTimer& clock) { return static_cast<double>(clock.nsecsElapsed()) / 1e6; }

void writePlaylist(const std::string& path, int entries)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "3\r\r\n";
    for (int i = 0; i < entries; ++i)
        out << "/home/user/Music/Some Artist/Some Album/" << i << " - a song title of usual length.mp3\r\r\n";
}

struct Player {
    explicit Player(const std::string& folder) : application(std::make_unique<TApplication>(folder + "kolviplayer"))
    {
        application->CreateForm(form);
    }
    std::unique_ptr<TApplication> application;
    TfrmKolviPlayer* form = nullptr;
};

// From the start of the window's construction until it is on screen and painted.
double showTime(const std::string& folder)
{
    QElapsedTimer clock;
    clock.start();
    Player player(folder);
    player.form->show();
    if (!QTest::qWaitForWindowExposed(player.form))
        std::fprintf(stderr, "the window was not exposed\n");
    QCoreApplication::processEvents();
    const double elapsed = milliseconds(clock);
    player.form->lvFileList->Items()->Clear();  // nothing to save on the way out
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    QTemporaryDir emptyFolder;
    QTemporaryDir fullFolder;
    const std::string empty = emptyFolder.path().toStdString() + "/";
    const std::string full = fullFolder.path().toStdString() + "/";
    writePlaylist(full + "List.lst", Entries);

    showTime(empty);  // warm-up: fonts, styles, the mixer
    std::vector<double> emptyTimes;
    std::vector<double> fullTimes;
    for (int round = 0; round < Rounds; ++round) {
        emptyTimes.push_back(showTime(empty));
        fullTimes.push_back(showTime(full));
    }
    const double emptyShow = median(emptyTimes);
    const double fullShow = median(fullTimes);
    std::printf("window shown, empty playlist:      %8.1f ms\n", emptyShow);
    std::printf("window shown, %d entries:      %8.1f ms (%.2fx)\n", Entries, fullShow, fullShow / emptyShow);

    Player player(full);
    player.form->show();
    QCoreApplication::processEvents();
    std::vector<double> saveTimes;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        player.form->SavePlaylist(full + "Saved.lst");
        saveTimes.push_back(milliseconds(clock));
    }
    std::printf("save of %d entries:             %8.1f ms\n", Entries, median(saveTimes));

    std::vector<double> deleteTimes;
    std::vector<double> deselectTimes;
    for (int round = 0; round < Rounds; ++round) {
        player.form->LoadPlaylist(full + "List.lst");
        QCoreApplication::processEvents();
        TListItems* items = player.form->lvFileList->Items();
        for (int i = 0; i < Entries; i += 2)
            items->Item(i)->SetSelected(true);
        QCoreApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        player.form->btnDelClick(player.form->btnDel);
        QCoreApplication::processEvents();  // the view catches up
        deleteTimes.push_back(milliseconds(clock));
        if (items->Count() != Entries / 2)
            std::fprintf(stderr, "delete left %d entries\n", items->Count());

        for (int i = 0; i < items->Count(); i += 2)
            items->Item(i)->SetSelected(true);
        QCoreApplication::processEvents();
        clock.restart();
        player.form->DeselectAll();
        QCoreApplication::processEvents();
        deselectTimes.push_back(milliseconds(clock));
    }
    std::printf("delete of %d scattered entries:  %8.1f ms\n", Entries / 2, median(deleteTimes));
    std::printf("deselect of %d scattered entries:%8.1f ms\n", Entries / 4, median(deselectTimes));
    player.form->lvFileList->Items()->Clear();
    return 0;
}
