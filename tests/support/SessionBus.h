#pragma once
// A private D-Bus session bus (dbus-daemon) for tests of programs that
// show themselves on the bus: nothing is activated on it unless a service
// folder is given; stopped with the object.
#include "tests/support/ChildProcess.h"
#include "tests/support/ScopedEnvironment.h"

#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

class SessionBus {
public:
    // Starts the daemon and waits for its socket. With a service folder, the
    // bus starts the programs its .service files name when their names are called.
    explicit SessionBus(const std::string& serviceFolder = {});
    // Stops it and gives the environment back what exportToEnvironment replaced.
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool started() const { return started_; }
    // "unix:path=/…/bus", the value of DBUS_SESSION_BUS_ADDRESS.
    std::string address() const;
    // Makes it the session bus of this process and of every program it starts.
    void exportToEnvironment();

private:
    QTemporaryDir dir_;
    std::unique_ptr<ChildProcess> daemon_;
    bool started_ = false;
    std::optional<ScopedEnvironment> exported_;
};
