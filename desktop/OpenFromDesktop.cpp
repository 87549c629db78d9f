#include "desktop/OpenFromDesktop.h"

#include "forms/TfrmKolviPlayer.h"
#include "platform/files/CodePage.h"
#include "framework/Application.h"
#include "platform/shell/OpenedFiles.h"

#include <QMetaObject>
#include <QPointer>

namespace {

constexpr char NothingToOpen[] = "열 수 있는 MP3 파일이 없습니다.\n"
                                 "파일 이름에 \".mp3\"가 들어 있는 파일만 재생 목록에 넣습니다.";

}  // namespace

void OpenFromDesktop(TfrmKolviPlayer& window, const QStringList& uris)
{
    std::vector<std::string> given;
    given.reserve(static_cast<std::size_t>(uris.size()));
    for (const QString& uri : uris)
        given.push_back(uri.toStdString());
    const OpenedFiles opened = tracksOfUris(given);
    QPointer<TfrmKolviPlayer> target(&window);
    QMetaObject::invokeMethod(
        &window,
        [target, opened] {
            if (!target)
                return;
            RunGuarded([&] {
                if (!opened.tracks.empty())
                    target->OpenFiles(opened.tracks);
                else if (opened.leftOut > 0 && !Application->MessageBoxOpen())
                    Application->MessageBox(Utf8ToAnsi(NothingToOpen), Application->Title(),
                                            MB_OK | MB_ICONEXCLAMATION);
            });
        },
        Qt::QueuedConnection);
}
