// KolviPlayer's entry point: the application object, the main window, the
// hidden lyrics window and the message loop, all under one exception guard.
#include "Application.h"
#include "KolviResources.h"
#include "TfrmKolviPlayer.h"
#include "TfrmLyrics.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int main(int argc, char** argv)
{
    // Texts and paths are bytes in the user's locale.
    std::setlocale(LC_ALL, "");
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QIcon(ResourcePath("MAINICON.png")));
    TApplication application(ExecutablePath());
    try {
        Application->CreateForm(frmKolviPlayer);
        Application->CreateForm(frmLyrics);
        Application->Run();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
