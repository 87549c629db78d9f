#include "platform/shell/Launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <optional>
#include <strings.h>

namespace {

constexpr HINSTANCE Started = 33;

// The 8-bit text as Qt needs it for the new process, or nothing when Qt
// could not hand the very same bytes on (bytes outside its UTF-8 view of
// 8-bit text): a changed argument would open the wrong thing.
std::optional<QString> exactText(const char* text)
{
    if (text == nullptr)
        return QString();
    const QByteArray bytes(text);
    QString wide = QString::fromLocal8Bit(bytes);
    if (wide.toLocal8Bit() != bytes)
        return std::nullopt;
    return wide;
}

QString findProgram(const QString& file)
{
    if (file.isEmpty())
        return {};
    if (file.contains(u'/')) {
        const QFileInfo info(file);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(file);
}

// Only a web address is worth a browser; anything else could make the
// desktop open a local file or launch some handler.
bool isWebAddress(const QString& text)
{
    const QUrl url(text);
    return url.isValid() && !url.host().isEmpty() && (url.scheme() == u"http" || url.scheme() == u"https");
}

HINSTANCE startDetached(const QString& program, const QString& argument, const QString& directory)
{
    const QStringList arguments = argument.isEmpty() ? QStringList() : QStringList{argument};
    return QProcess::startDetached(program, arguments, directory) ? Started : SE_ERR_NOASSOC;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, const char* verb, const char* file, const char* parameters,
                        const char* directory, int)
{
    if (verb != nullptr && *verb != '\0' && strcasecmp(verb, "open") != 0)
        return SE_ERR_NOASSOC;
    const auto program = exactText(file);
    const auto argument = exactText(parameters);
    const auto folder = exactText(directory);
    if (!program || !argument || !folder)
        return SE_ERR_ACCESSDENIED;

    const QString found = findProgram(*program);
    if (!found.isEmpty())
        return startDetached(found, *argument, *folder);
    if (isWebAddress(*argument))
        return startDetached(QStringLiteral("xdg-open"), *argument, *folder);
    return SE_ERR_FNF;
}
