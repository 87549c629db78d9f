#pragma once
// The real kolviplayer executable, copied into a folder of its own so that
// "List.lst" beside it is the test's, run on the X display ($DISPLAY, the
// test environment's Xvfb), and the X helper that looks at and acts on that
// display.
#include <QProcess>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

struct XWindow {
    unsigned long id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string name;
};

// The viewable top-level windows.
std::vector<XWindow> viewableWindows();
// The first viewable window with exactly this name, once one is there
// (nothing after timeoutMs).
std::optional<XWindow> waitForWindow(const std::string& name, int timeoutMs = 30000);
// Runs the X helper (or xdotool) to its end; answers its standard output.
std::string runHelper(const QStringList& arguments);
std::string runXdotool(const QStringList& arguments);
// A left click at (x, y) inside window, through the pointer of the display.
void clickInWindow(const XWindow& window, int x, int y);

// Puts a copy of the player at executable into folder, its modules linked
// beside it as the install places them.
void placePlayer(const QString& executable, const QString& folder);

class PlayerProcess {
public:
    PlayerProcess();
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    std::string folder() const { return dir_.path().toStdString() + "/"; }
    std::string listFile() const { return folder() + "List.lst"; }

    void start();
    // True once the process ended by itself within timeoutMs.
    bool waitForExit(int timeoutMs = 30000);
    int exitCode() const { return process_.exitCode(); }
    bool crashed() const { return process_.exitStatus() != QProcess::NormalExit; }

private:
    QTemporaryDir dir_;
    QProcess process_;
};
