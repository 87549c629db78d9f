#include "tests/support/mci/MciTesting.h"

#include "platform/mci/Mp3Decoder.h"

#include <cstring>

std::vector<WPARAM> NoticeCatcher::codes() const
{
    std::vector<WPARAM> found;
    for (const auto& notice : notices)
        found.push_back(notice.WParam);
    return found;
}

bool NoticeCatcher::event(QEvent* event)
{
    if (event->type() != TMessageEvent::eventType())
        return QObject::event(event);
    notices.push_back(static_cast<TMessageEvent*>(event)->message());
    return true;
}

TestDevice::TestDevice(const std::string& path, HWND notices) : notices_(notices)
{
    MCI_OPEN_PARMSA parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(notices_);
    parms.lpstrDeviceType = "";
    parms.lpstrElementName = path.c_str();
    openError_ = mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms));
    if (openError_ == 0)
        id_ = parms.wDeviceID;
}

TestDevice::~TestDevice() { close(); }

MCIERROR TestDevice::close()
{
    if (id_ == 0)
        return 0;
    MCI_GENERIC_PARMS parms{reinterpret_cast<DWORD_PTR>(notices_)};
    const MCIERROR error = mciSendCommandA(id_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
    if (error == 0)
        id_ = 0;
    return error;
}

MCIERROR TestDevice::play(std::optional<DWORD> from)
{
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(notices_);
    DWORD flags = MCI_NOTIFY;
    if (from) {
        flags |= MCI_FROM;
        parms.dwFrom = *from;
    }
    return mciSendCommandA(id_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
}

MCIERROR TestDevice::generic(UINT message, DWORD flags)
{
    MCI_GENERIC_PARMS parms{reinterpret_cast<DWORD_PTR>(notices_)};
    return mciSendCommandA(id_, message, flags, reinterpret_cast<DWORD_PTR>(&parms));
}

MCIERROR TestDevice::resume() { return generic(MCI_RESUME, MCI_NOTIFY); }
MCIERROR TestDevice::pause() { return generic(MCI_PAUSE, MCI_WAIT); }
MCIERROR TestDevice::stop() { return generic(MCI_STOP, MCI_WAIT); }

MCIERROR TestDevice::seekTo(DWORD ms)
{
    MCI_SEEK_PARMS parms{};
    parms.dwTo = ms;
    return mciSendCommandA(id_, MCI_SEEK, MCI_TO | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
}

DWORD TestDevice::status(DWORD item, MCIERROR* error)
{
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    const MCIERROR result = mciSendCommandA(id_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
    if (error != nullptr)
        *error = result;
    return static_cast<DWORD>(parms.dwReturn);
}

Samples decodeWhole(const std::string& path)
{
    Mp3Decoder decoder;
    if (decoder.open(path) != Mp3Decoder::OpenResult::Opened || !decoder.scan())
        return {};
    Samples samples;
    std::vector<unsigned char> buffer(16384);
    for (;;) {
        const auto chunk = decoder.read(buffer.data(), buffer.size());
        const std::size_t old = samples.size();
        samples.resize(old + chunk.bytes / 2);
        std::memcpy(samples.data() + old, buffer.data(), chunk.bytes / 2 * 2);
        if (chunk.end)
            return samples;
    }
}

std::string mciText(MCIERROR error)
{
    char text[512];
    return mciGetErrorStringA(error, text, sizeof text) ? std::string(text) : std::string("(none)");
}

DWORD framesToMs(long frames, long rate) { return static_cast<DWORD>(static_cast<long long>(frames) * 1000 / rate); }
