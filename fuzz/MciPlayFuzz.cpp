// Arbitrary bytes opened and played as an MP3 file through the MCI layer,
// into a null output that takes the sound at once. A file that does not open
// must fail with a known error; one that opens must stand stopped at 0, play
// to exactly its length (also from a position taken from the input), tell
// its window that it ended, and close.
#include "fuzz/FuzzScratch.h"
#include "platform/mci/Mci.h"
#include "platform/audio_out/SoundOutputFactory.h"
#include "platform/win/WinMessage.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

class NoticeWindow : public QObject {
public:
    std::vector<WPARAM> codes;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != TMessageEvent::eventType())
            return QObject::event(event);
        codes.push_back(static_cast<TMessageEvent*>(event)->message().WParam);
        return true;
    }
};

struct Harness {
    Harness()
    {
        qt = std::make_unique<QCoreApplication>(argc, argv);
        soundOutputs().choose("null:untimed");
    }
    int argc = 1;
    char name[16] = "fuzz_mci_play";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QCoreApplication> qt;
    NoticeWindow window;
};

Harness& harness()
{
    static Harness instance;
    return instance;
}

DWORD_PTR callback() { return reinterpret_cast<DWORD_PTR>(static_cast<HWND>(&harness().window)); }

DWORD status(MCIDEVICEID id, DWORD item)
{
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    require(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms)) == 0);
    return static_cast<DWORD>(parms.dwReturn);
}

// Plays (from a position when asked) and waits for the end: the untimed
// output makes that a matter of decoding, so a device still playing after
// half a minute is a hang.
void playToTheEnd(MCIDEVICEID id, DWORD length, const DWORD* from)
{
    NoticeWindow& window = harness().window;
    window.codes.clear();
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = callback();
    DWORD flags = MCI_NOTIFY;
    if (from != nullptr) {
        flags |= MCI_FROM;
        parms.dwFrom = *from;
    }
    require(mciSendCommandA(id, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms)) == 0);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (window.codes.empty() || status(id, MCI_STATUS_MODE) != MCI_MODE_STOP) {
        require(std::chrono::steady_clock::now() < limit);
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    require(window.codes == std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
    require(status(id, MCI_STATUS_POSITION) == length);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    harness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = scratchFolder() + "/input.mp3";
    writeScratchFile(file, std::string_view(reinterpret_cast<const char*>(data), size));

    MCI_OPEN_PARMSA open{};
    open.dwCallback = callback();
    open.lpstrDeviceType = "";
    open.lpstrElementName = file.c_str();
    const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    if (error != 0) {
        char text[128];
        require(mciGetErrorStringA(error, text, sizeof text) && std::strlen(text) > 0);
        require(error == MCIERR_INVALID_FILE || error == MCIERR_FILE_READ);
        return 0;
    }
    const MCIDEVICEID id = open.wDeviceID;
    require(id != 0);
    require(status(id, MCI_STATUS_MODE) == MCI_MODE_STOP);
    require(status(id, MCI_STATUS_POSITION) == 0);
    const DWORD length = status(id, MCI_STATUS_LENGTH);

    playToTheEnd(id, length, nullptr);
    DWORD from = 0;
    std::memcpy(&from, data, std::min(size, sizeof from));
    from = length == 0 ? 0 : from % (length + 1);
    playToTheEnd(id, length, &from);

    MCI_GENERIC_PARMS close{callback()};
    require(mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close)) == 0);
    // Closing ends the device: its id is no longer known.
    MCI_STATUS_PARMS gone{};
    gone.dwItem = MCI_STATUS_MODE;
    require(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&gone)) ==
            MCIERR_INVALID_DEVICE_ID);
    QCoreApplication::processEvents();
    return 0;
}
