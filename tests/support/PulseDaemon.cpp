#include "tests/support/PulseDaemon.h"

#include <QDir>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

PulseDaemon::PulseDaemon(std::string sinkName) : sinkName_(std::move(sinkName)) {}

PulseDaemon::~PulseDaemon() { stop(); }

std::string PulseDaemon::server() const
{
    return "unix:" + dir_.filePath("native").toStdString();
}

bool PulseDaemon::start()
{
    if (running())
        return true;
    const QString root = dir_.path();
    for (const char* sub : {"runtime", "config", "home"})
        QDir(root).mkpath(sub);
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view name = std::string_view(*entry).substr(0, std::string_view(*entry).find('='));
        if (name != "HOME" && name != "XDG_RUNTIME_DIR" && name != "XDG_CONFIG_HOME" && name != "PULSE_SERVER" &&
            name != "DISPLAY" && name != "DBUS_SESSION_BUS_ADDRESS")
            environment.emplace_back(*entry);
    }
    // No bus, and no display through which one would be autolaunched: two
    // daemons on one bus cannot both own org.PulseAudio1, and the second stops.
    environment.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=" + dir_.filePath("no-bus").toStdString());
    environment.push_back("HOME=" + (root + "/home").toStdString());
    environment.push_back("XDG_RUNTIME_DIR=" + (root + "/runtime").toStdString());
    environment.push_back("XDG_CONFIG_HOME=" + (root + "/config").toStdString());

    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "--log-target=stderr",
                                 "--log-level=0", "--load=module-null-sink sink_name=" + sinkName_ + " norewinds=1",
                                 "--load=module-native-protocol-unix socket=" + dir_.filePath("native").toStdString() +
                                     " auth-anonymous=1"},
        std::string(), environment);
    if (!process_->started())
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!pactl(server(), {"info"}).empty())
            return true;
        if (!process_->running())
            return false;
        QThread::msleep(50);
    }
    return false;
}

void PulseDaemon::kill()
{
    if (!process_)
        return;
    process_->kill();
    process_.reset();
}

void PulseDaemon::stop()
{
    if (!process_)
        return;
    thaw();
    process_->terminate();
    process_.reset();
}

void PulseDaemon::freeze()
{
    if (process_)
        process_->sendSignal(SIGSTOP);
}

void PulseDaemon::thaw()
{
    if (process_)
        process_->sendSignal(SIGCONT);
}

bool PulseDaemon::running() { return process_ && process_->running(); }


std::string pactl(const std::string& server, const QStringList& arguments)
{
    std::vector<std::string> command{"pactl", "-s", server};
    for (const QString& argument : arguments)
        command.push_back(argument.toStdString());
    const std::optional<std::string> out = captureProgram(command);
    if (!out)
        return {};
    return out->empty() ? std::string(" ") : *out;
}
