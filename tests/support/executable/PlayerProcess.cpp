#include "tests/support/executable/PlayerProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <sstream>

namespace {

std::string run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput().toStdString();
}

}  // namespace

std::vector<XWindow> viewableWindows()
{
    std::vector<XWindow> windows;
    std::istringstream lines(runHelper({"windows"}));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        XWindow window;
        fields >> window.id >> window.x >> window.y >> window.width >> window.height;
        fields.ignore(1);
        std::getline(fields, window.name);
        windows.push_back(window);
    }
    return windows;
}

std::optional<XWindow> waitForWindow(const std::string& name, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        for (const XWindow& window : viewableWindows())
            if (window.name == name)
                return window;
        QThread::msleep(50);
    }
    return std::nullopt;
}

std::string runHelper(const QStringList& arguments) { return run(KOLVI_XHELPER_PATH, arguments); }

std::string runXdotool(const QStringList& arguments) { return run("xdotool", arguments); }

void clickInWindow(const XWindow& window, int x, int y)
{
    runXdotool({"mousemove", QString::number(window.x + x), QString::number(window.y + y)});
    runXdotool({"click", "1"});
}

void placePlayer(const QString& executable, const QString& folder)
{
    const QFileInfo built(executable);
    QFile::copy(executable, QDir(folder).filePath(built.fileName()));
    for (const QFileInfo& module : built.dir().entryInfoList({QStringLiteral("*.so")}, QDir::Files))
        QFile::link(module.absoluteFilePath(), QDir(folder).filePath(module.fileName()));
}

PlayerProcess::PlayerProcess() { placePlayer(QStringLiteral(KOLVI_PLAYER_PATH), dir_.path()); }

PlayerProcess::~PlayerProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void PlayerProcess::start()
{
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(dir_.filePath("kolviplayer"), {});
    process_.waitForStarted(30000);
}

bool PlayerProcess::waitForExit(int timeoutMs)
{
    return process_.waitForFinished(timeoutMs);
}
