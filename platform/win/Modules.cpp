#include "platform/win/Modules.h"

#include "platform/win/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <mutex>
#include <utility>

namespace {

struct Folders {
    std::mutex mutex;
    QStringList added;
};

Folders& folders()
{
    static Folders instance;
    return instance;
}

}  // namespace

ModuleEntry loadModuleEntry(const QString& fileName, const char* entryName)
{
    QStringList places{QCoreApplication::applicationDirPath()};
    {
        std::lock_guard lock(folders().mutex);
        places += folders().added;
    }
    ModuleEntry found;
    for (const QString& folder : places) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        if (const QFunctionPointer entry = module.resolve(entryName)) {
            qCDebug(modulesLog) << "loaded" << path;
            return ModuleEntry{entry, {}};
        }
        found.failure = module.errorString();
        qCWarning(modulesLog) << "cannot load" << path << ":" << found.failure;
    }
    if (found.failure.isEmpty())
        qCWarning(modulesLog) << fileName << "is in none of" << places;
    return found;
}

QStringList chooseModuleFolders(QStringList added)
{
    std::lock_guard lock(folders().mutex);
    return std::exchange(folders().added, std::move(added));
}
