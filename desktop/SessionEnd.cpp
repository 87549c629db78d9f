#include "desktop/SessionEnd.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace {

constexpr int EndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler, so a plain int that is set before any handler is.
volatile int PipeWriteEnd = -1;

void OnEndSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up: nothing is lost by failing.
    [[maybe_unused]] const ssize_t written = ::write(PipeWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> onEnd) : onEnd_(std::move(onEnd))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readEnd_ = UniqueFd(ends[0]);
    writeEnd_ = UniqueFd(ends[1]);
    PipeWriteEnd = writeEnd_.get();
    notifier_ = new QSocketNotifier(readEnd_.get(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::Arrived);

    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(EndSignals); ++i)
        ::sigaction(EndSignals[i], &action, &previous_[i]);

#if QT_CONFIG(sessionmanager)
    // The desktop ends the session: what the user has is saved as at a close.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        if (!ended_) {
            ended_ = true;
            onEnd_();
        }
    });
#endif
}

SessionEnd::~SessionEnd()
{
    if (!writeEnd_.valid())
        return;
    for (std::size_t i = 0; i < std::size(EndSignals); ++i)
        ::sigaction(EndSignals[i], &previous_[i], nullptr);
    PipeWriteEnd = -1;
}

void SessionEnd::Arrived()
{
    char bytes[16];
    while (::read(readEnd_.get(), bytes, sizeof bytes) > 0) {
    }
    if (ended_)
        return;
    ended_ = true;
    onEnd_();
}
