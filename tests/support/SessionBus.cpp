#include "tests/support/SessionBus.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdlib>
#include <fstream>

SessionBus::SessionBus(const std::string& serviceFolder)
{
    const std::string config = dir_.filePath("bus.conf").toStdString();
    const std::string services = serviceFolder.empty() ? "" : "<servicedir>" + serviceFolder + "</servicedir>";
    std::ofstream(config) << "<busconfig><type>session</type><listen>unix:path=" << dir_.filePath("bus").toStdString()
                          << "</listen>" << services << "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                             "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-daemon", "--config-file=" + config, "--nofork", "--nopidfile"});
    QElapsedTimer clock;
    clock.start();
    while (daemon_->running() && clock.elapsed() < 10000) {
        if (QFileInfo(dir_.filePath("bus")).exists()) {
            started_ = true;
            return;
        }
        QThread::msleep(20);
    }
}

SessionBus::~SessionBus()
{
    exported_.reset();
    daemon_->terminate();
}

std::string SessionBus::address() const { return "unix:path=" + dir_.filePath("bus").toStdString(); }

void SessionBus::exportToEnvironment()
{
    if (!exported_)
        exported_.emplace("DBUS_SESSION_BUS_ADDRESS", address());
}
