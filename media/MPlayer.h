#pragma once
// TMediaPlayer: the component through which the player makes sound. It opens
// one file at a time on the media control interface (Mci.h) and drives that
// device with single commands; its window receives the device's completion
// notices.
#include "framework/Controls.h"
#include "framework/Exception.h"
#include "platform/mci/Mci.h"

#include <string>

enum TMPDeviceMode : BYTE { mdNotReady, mdStopped, mdPlaying, mdRecording, mdSeeking, mdPaused, mdOpen };

enum TMPDeviceTypes : BYTE {
    dtAutoSelect,
    dtAVIVideo,
    dtCDAudio,
    dtDAT,
    dtDigitalVideo,
    dtMMMovie,
    dtOther,
    dtOverlay,
    dtScanner,
    dtSequencer,
    dtVCR,
    dtVideodisc,
    dtWaveAudio
};

enum TMPNotifyValues : BYTE { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

class TMediaPlayer : public TCustomControl {
    Q_OBJECT
public:
    explicit TMediaPlayer(QWidget* owner = nullptr);
    ~TMediaPlayer() override;
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    void Open();
    void Close();
    void Play();
    void Stop();
    void Pause();
    void Resume();

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& fileName) { FFileName = fileName; }
    DWORD From() const { return FFrom; }
    void SetFrom(DWORD from);
    DWORD Length();
    DWORD Position();
    DWORD TrackLength(int track);
    TMPDeviceMode Mode();

    MCIERROR Error() const { return LastError; }
    MCIDEVICEID DeviceID() const { return DeviceId; }
    TMPNotifyValues NotifyValue() const { return NotifyResult; }

    TMPDeviceTypes DeviceType() const { return FDeviceType; }
    void SetDeviceType(TMPDeviceTypes type) { FDeviceType = type; }
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool autoOpen) { FAutoOpen = autoOpen; }
    bool AutoRewind() const { return FAutoRewind; }
    void SetAutoRewind(bool autoRewind) { FAutoRewind = autoRewind; }
    bool AutoEnable() const { return FAutoEnable; }
    void SetAutoEnable(bool autoEnable) { FAutoEnable = autoEnable; }
    bool Shareable() const { return FShareable; }
    void SetShareable(bool shareable) { FShareable = shareable; }

    // After the form resource has been read: opens the device when AutoOpen is set.
    void Loaded();

    void Dispatch(TMessage& message) override;

private:
    void CheckOpen() const;
    DWORD_PTR Callback();
    DWORD Status(DWORD item, DWORD track, bool withTrack, MCIERROR& result);
    DWORD RecordedStatus(DWORD item);
    void QueryCapabilities();
    // Play's and Resume's commands and the rewind, for a device already
    // checked to be open.
    void SendPlay();
    void SendResume();
    void Rewind();

    bool IsOpen = false;
    bool FromArmed = false;
    WORD DeviceId = 0;
    TMPDeviceTypes FDeviceType = dtAutoSelect;
    DWORD FFrom = 0;
    MCIERROR LastError = 0;
    TMPNotifyValues NotifyResult = nvSuccessful;
    std::string FFileName;
    bool FAutoOpen = false;
    bool FAutoRewind = true;
    bool FAutoEnable = true;
    bool FShareable = false;
};
