#pragma once
// The end of the session, however it comes: SIGTERM (logout, kill,
// systemd), SIGINT (Ctrl+C in a terminal), SIGHUP (the terminal closed) and
// the session manager's end-of-session request. Each one calls onEnd once
// on the user-interface thread, from the event loop, so the program can
// close its main window the normal way and save what a close saves.
//
// The signal handler only writes a byte into a pipe; the event loop reads
// it. One SessionEnd at a time.
#include "platform/files/UniqueFd.h"

#include <QObject>
#include <csignal>
#include <functional>

class QSocketNotifier;

class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(std::function<void()> onEnd);
    // Gives the signals their earlier handlers back.
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void Arrived();

    std::function<void()> onEnd_;
    bool ended_ = false;
    UniqueFd readEnd_;
    UniqueFd writeEnd_;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3] = {};
};
