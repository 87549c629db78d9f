#pragma once
// Helpers for tests of the real MCI layer: a device opened and closed by
// scope, a window that collects completion notices, and the decoder's own
// output for comparisons; with the bounded waits that keep the event loop
// running while a device plays.
#include "tests/support/EventLoopWait.h"
#include "platform/mci/Mci.h"
#include "tests/support/ToneAnalysis.h"
#include "platform/win/WinMessage.h"

#include <QObject>
#include <optional>
#include <string>
#include <vector>

class NoticeCatcher : public QObject {
public:
    HWND handle() { return this; }
    std::vector<TMessage> notices;
    // The notice codes received so far, in order.
    std::vector<WPARAM> codes() const;

protected:
    bool event(QEvent* event) override;
};

class TestDevice {
public:
    explicit TestDevice(const std::string& path, HWND notices = nullptr);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    MCIERROR openError() const { return openError_; }
    MCIDEVICEID id() const { return id_; }

    MCIERROR play(std::optional<DWORD> from = std::nullopt);
    MCIERROR resume();
    MCIERROR pause();
    MCIERROR stop();
    MCIERROR seekTo(DWORD ms);
    MCIERROR close();

    DWORD status(DWORD item, MCIERROR* error = nullptr);
    DWORD position() { return status(MCI_STATUS_POSITION); }
    DWORD length() { return status(MCI_STATUS_LENGTH); }
    DWORD mode() { return status(MCI_STATUS_MODE); }

private:
    MCIERROR generic(UINT message, DWORD flags);

    HWND notices_;
    MCIDEVICEID id_ = 0;
    MCIERROR openError_ = 0;
};

// The whole file as the decoder gives it, channels interleaved.
Samples decodeWhole(const std::string& path);

// The MCI layer's error text, or "(none)".
std::string mciText(MCIERROR error);

// Milliseconds of frames at rate, as the device counts them.
DWORD framesToMs(long frames, long rate);
