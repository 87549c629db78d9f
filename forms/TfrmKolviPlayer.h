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
#include <vector>

// What code outside forms/ may use of the window (desktop/, the tests, the
// benchmarks and the fuzz targets):
// - reading: the components (to click, look at and drive them as a user
//   would), IsPlaying, IsPaused, CurrentIndex, ListFileName, MixerHandle,
//   MixerDeviceCount, VolumeControlID, TrackPosition and MP3's state;
// - writing: ClosingUnattended (the session's end or a signal closes it);
// - calling: the handlers under "public Q_SLOTS" (what a click, a key or a
//   timer tick does), PlayItem, PlayOrPause, OpenFiles, LoadPlaylist,
//   SavePlaylist, DeselectAll, EntryPath, GetSpeakerVolume and
//   SetSpeakerVolume, and Dispatch (a window message arriving).
// Writing a field, or calling anything else, belongs to the window itself.
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
    // The playing track's elapsed and total time, beside the position slider.
    TLabel* lblTime;

    BYTE IsPlaying = 0;
    BYTE IsPaused = 0;
    int CurrentIndex = 0;
    std::string ListFileName;
    UINT MixerDeviceCount = 0;
    HMIXER MixerHandle = nullptr;
    DWORD VolumeControlID = 0;
    // Set when the window closes with nobody to answer a box (the session
    // ends, a signal): a playlist that cannot be saved is then told on
    // standard error instead.
    bool ClosingUnattended = false;

    // Builds the window and loads the playlist (platform/files/PlaylistLocation.h);
    // raises what loading the playlist raises.
    explicit TfrmKolviPlayer(QObject* Owner);

    void Dispatch(TMessage& Message) override;

    // The playlist file "List.lst": the current index, then one path a line.
    void LoadPlaylist(const std::string& FileName);
    // False when the file could not be written (an empty list writes nothing
    // and succeeds).
    bool SavePlaylist(const std::string& FileName);
    // Files opened from the desktop, already sorted by the rule of dropped
    // files (platform/shell/OpenedFiles.h): appended, and the first of them
    // started; none, nothing happens.
    void OpenFiles(const std::vector<std::string>& Paths);
    void DeselectAll();
    // The play/pause key: pauses or continues while playing; otherwise
    // starts the selected entry, else the current one, else the first.
    void PlayOrPause();
    // An entry's path: its sub-items without surrounding bytes of code 32
    // or below.
    static std::string EntryPath(const TListItem* Item);

    // The speaker volume in the mixer's own units, read and written as the
    // slider does; false when there is no mixer or it fails.
    bool GetSpeakerVolume(DWORD& Value);
    bool SetSpeakerVolume(DWORD Value);
    // Where the track stands in milliseconds: while paused after a seek, the
    // place the next Play starts from.
    DWORD TrackPosition();

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
    // Replaces (clearFirst) or extends the playlist with the files chosen
    // in an open dialog.
    void AddFilesFromDialog(bool clearFirst);
    void WMDropFiles(TMessage& Message);
    void AddEntry(const std::string& path);
    // Tells, once, that the playlist was not saved: in a box, or on
    // standard error when the close is unattended.
    void ReportPlaylistNotSaved();
    // Not playing: IsPlaying and IsPaused 0, the pause button shows "멈춤".
    void ShowIdle();
    // Shows the playing track's time; the position slider stays where it is.
    void ShowTrackTime(DWORD Position, DWORD Length);
    // Makes Item the only selected entry and starts it.
    void StartOnly(TListItem* Item);
    // The end of a track: starts the next entry that opens.
    void PlayNextPlayable();

    // A seek made while paused is kept in MP3's From for the next Play.
    bool SeekPending = false;
    // The time lblTime shows, also read out as the position slider's value.
    DWORD ShownPosition = 0;
    DWORD ShownLength = 0;

    MIXERCAPSA MixerCaps{};
    DWORD VolumeMinimum = 0;
    DWORD VolumeMaximum = 0;
    bool OpenMixer();
    bool FindSpeakerVolumeControl();
};

extern TfrmKolviPlayer* frmKolviPlayer;
