#include "RunPlayer.h"

#include "Application.h"
#include "KolviResources.h"
#include "TfrmKolviPlayer.h"
#include "TfrmLyrics.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int RunPlayer(int argc, char** argv, const PlayerOptions& options)
{
    // Texts and paths are bytes in the user's locale.
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QIcon(ResourcePath("MAINICON.png")));
    TApplication application(ExecutablePath());
    try {
        Application->CreateForm(frmKolviPlayer);
        if (options.lyricsWindow)
            Application->CreateForm(frmLyrics);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
