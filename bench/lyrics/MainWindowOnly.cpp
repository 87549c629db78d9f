// The player's main window alone, without the lyrics window and so without
// its browser control: what the player would cost with no web engine at
// all, for bench_lyrics_memory to compare the real player with.
#include "Application.h"
#include "KolviResources.h"
#include "TfrmKolviPlayer.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QIcon(ResourcePath("MAINICON.png")));
    TApplication application(ExecutablePath());
    try {
        Application->CreateForm(frmKolviPlayer);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    }
    return 0;
}
