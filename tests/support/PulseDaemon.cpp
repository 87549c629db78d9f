#include "PulseDaemon.h"

#include <QDir>
#include <QThread>
#include <cstdlib>

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

    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", root + "/home");
    env.insert("XDG_RUNTIME_DIR", root + "/runtime");
    env.insert("XDG_CONFIG_HOME", root + "/config");
    env.remove("PULSE_SERVER");

    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(env);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->start("pulseaudio",
                    {"--daemonize=no", "--exit-idle-time=-1", "-n", "--log-target=stderr", "--log-level=0",
                     QString("--load=module-null-sink sink_name=%1 norewinds=1").arg(QString::fromStdString(sinkName_)),
                     QString("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(dir_.filePath("native"))});
    if (!process_->waitForStarted(5000))
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!pactl(server(), {"info"}).empty())
            return true;
        if (process_->state() != QProcess::Running)
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
    process_->waitForFinished(5000);
    process_.reset();
}

void PulseDaemon::stop()
{
    if (!process_)
        return;
    process_->terminate();
    if (!process_->waitForFinished(5000))
        kill();
    process_.reset();
}

bool PulseDaemon::running() const { return process_ && process_->state() == QProcess::Running; }

void PulseDaemon::exportToEnvironment() const { ::setenv("PULSE_SERVER", server().c_str(), 1); }

std::string pactl(const std::string& server, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start("pactl", QStringList{"-s", QString::fromStdString(server)} + arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return out.isEmpty() ? std::string(" ") : out.toStdString();
}
