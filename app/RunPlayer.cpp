#include "app/RunPlayer.h"

#include "framework/Application.h"
#include "resources/BuildSettings.h"
#include "resources/KolviResources.h"
#include "desktop/ApplicationAdaptor.h"
#include "desktop/MprisService.h"
#include "desktop/QtTranslations.h"
#include "desktop/SessionEnd.h"
#include "forms/TfrmKolviPlayer.h"
#include "forms/TfrmLyrics.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

namespace {

// The end of the session closes the main window as its close box does, so
// the playlist is saved as at any close; before there is one, it ends the
// start-up's message box.
void CloseMainWindow()
{
    if (Application != nullptr && Application->MainForm() != nullptr) {
        // Nobody may be there to answer a box.
        if (frmKolviPlayer != nullptr)
            frmKolviPlayer->ClosingUnattended = true;
        Application->MainForm()->close();
    }
    else
        QCoreApplication::exit(0);
}

}  // namespace

int RunPlayer(int argc, char** argv, const PlayerOptions& options)
{
    // Texts and paths are bytes in the user's locale.
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QIcon(ResourcePath("MAINICON.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral(KOLVI_APP_ID));
    InstallQtTranslations(qtApplication);
    SessionEnd sessionEnd(CloseMainWindow);
    TApplication application(ExecutablePath());
    try {
        Application->CreateForm(frmKolviPlayer);
        if (options.lyricsWindow)
            Application->CreateForm(frmLyrics);
        MprisService mediaControls(*frmKolviPlayer);
        ApplicationService desktopLaunch(*frmKolviPlayer);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
