#pragma once
// The main window: the playlist, the transport buttons, the volume and
// position sliders and the buttons for lyrics, about and home page. Its
// layout is resources/frmKolviPlayer.dfm.
#include "framework/Bevel.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Label.h"
#include "framework/ListView.h"
#include "media/MPlayer.h"
#include "platform/mixer/Mixer.h"
#include "framework/Timer.h"
#include "framework/TrackBar.h"
#include "platform/win/WinMessage.h"

#include <string>

class TfrmKolviPlayer : public TForm {
    Q_OBJECT
public:
    // The components of the layout, in its order of declaration.
    TMediaPlayer* MP3;
    TTimer* TrackTimer;
    TSpeedButton* btnPrev;
    TSpeedButton* btnPlay;
    TSpeedButton* btnPause;
    TSpeedButton* btnStop;
    TSpeedButton* btnNext;
    TSpeedButton* btnOpen;
    TSpeedButton* btnLyrics;
    TSpeedButton* btnAdd;
    TSpeedButton* btnDel;
    TBevel* Bevel1;
    TTrackBar* TrackVol;
    TLabel* Label1;
    TLabel* Label2;
    TTrackBar* TrackPos;
    TSpeedButton* btnAbout;
    TListView* lvFileList;
    TSpeedButton* btnConnectHomePage;

    BYTE IsPlaying = 0;
    BYTE IsPaused = 0;
    int CurrentIndex = 0;
    std::string ListFileName;
    UINT MixerDeviceCount = 0;
    HMIXER MixerHandle = nullptr;
    MIXERCAPSA MixerCaps{};
    DWORD VolumeMinimum = 0;
    DWORD VolumeMaximum = 0;
    DWORD VolumeControlID = 0;

    // Builds the window and loads the playlist beside the executable;
    // raises what loading the playlist raises.
    explicit TfrmKolviPlayer(QObject* Owner);

    void Dispatch(TMessage& Message) override;

    // The playlist file "List.lst": the current index, then one path a line.
    void LoadPlaylist(const std::string& FileName);
    void SavePlaylist(const std::string& FileName);
    // Replaces (clearFirst) or extends the playlist with the files chosen
    // in an open dialog.
    void AddFilesFromDialog(bool clearFirst);
    void WMDropFiles(TMessage& Message);
    void DeselectAll();
    // An entry's path: its sub-items without surrounding bytes of code 32
    // or below.
    static std::string EntryPath(const TListItem* Item);

public Q_SLOTS:
    void FormDestroy(QObject* Sender);
    void btnOpenClick(QObject* Sender);
    void btnAddClick(QObject* Sender);
    void btnDelClick(QObject* Sender);

    // Starts an entry from its beginning: the one way a track starts.
    // Raises what opening the file raises, after going back to Idle.
    void PlayItem(TListItem* Item);

    // Transport, volume, lyrics, about and home page, bound by the layout.
    void btnPlayClick(QObject* Sender);
    void btnPauseClick(QObject* Sender);
    void btnStopClick(QObject* Sender);
    void btnNextClick(QObject* Sender);
    void btnPrevClick(QObject* Sender);
    void lvFileListDblClick(QObject* Sender);
    void TrackPosChange(QObject* Sender);
    void TrackTimerTimer(QObject* Sender);
    void TrackVolChange(QObject* Sender);
    void btnLyricsClick(QObject* Sender);
    // The lyrics window asked for playback from ms: the slider goes there
    // and seeks, as if the user had moved it.
    void LyricsSeekAsked(qint64 ms);
    void btnAboutClick(QObject* Sender);
    void btnConnectHomePageClick(QObject* Sender);

private:
    void AddEntry(const std::string& path);
    // Not playing: IsPlaying and IsPaused 0, the pause button shows "멈춤".
    void ShowIdle();
    // Makes Item the only selected entry and starts it.
    void StartOnly(TListItem* Item);
    // The end of a track: starts the next entry that opens.
    void PlayNextPlayable();

    // A seek made while paused is kept in MP3's From for the next Play.
    bool SeekPending = false;

    bool OpenMixer();
    bool FindSpeakerVolumeControl();
    bool GetSpeakerVolume(DWORD& Value);
    bool SetSpeakerVolume(DWORD Value);
};

extern TfrmKolviPlayer* frmKolviPlayer;
