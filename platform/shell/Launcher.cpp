#include "Launcher.h"

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
std::optional<QString> ExactText(const char* text)
{
    if (text == nullptr)
        return QString();
    const QByteArray bytes(text);
    QString wide = QString::fromLocal8Bit(bytes);
    if (wide.toLocal8Bit() != bytes)
        return std::nullopt;
    return wide;
}

QString FindProgram(const QString& file)
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
bool IsWebAddress(const QString& text)
{
    const QUrl url(text);
    return url.isValid() && !url.host().isEmpty() && (url.scheme() == u"http" || url.scheme() == u"https");
}

HINSTANCE StartDetached(const QString& program, const QString& argument, const QString& directory)
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
    const auto program = ExactText(file);
    const auto argument = ExactText(parameters);
    const auto folder = ExactText(directory);
    if (!program || !argument || !folder)
        return SE_ERR_ACCESSDENIED;

    const QString found = FindProgram(*program);
    if (!found.isEmpty())
        return StartDetached(found, *argument, *folder);
    if (IsWebAddress(*argument))
        return StartDetached(QStringLiteral("xdg-open"), *argument, *folder);
    return SE_ERR_FNF;
}
