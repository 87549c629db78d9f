#include "platform/files/PlaylistLocation.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace {

bool folderTakesNewFiles(const std::string& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::string playlistFilePath(const std::string& exeFolder, const std::string& fileName)
{
    if (folderTakesNewFiles(exeFolder))
        return exeFolder + fileName;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // No home at all: the save there fails and says so.
    if (dataHome.isEmpty())
        return exeFolder + fileName;
    return QFile::encodeName(dataHome).toStdString() + "/kolviplayer/" + fileName;
}

bool makeParentFolders(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    return QDir().mkpath(QFile::decodeName(QByteArray::fromStdString(path.substr(0, slash))));
}
