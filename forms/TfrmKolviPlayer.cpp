#include "forms/TfrmKolviPlayer.h"

#include "resources/AboutTexts.h"
#include "resources/PlaylistTexts.h"
#include "framework/Application.h"
#include "platform/files/CodePage.h"
#include "framework/ComponentRegistry.h"
#include "framework/Dialogs.h"
#include "resources/KolviResources.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/ShellDrop.h"
#include "framework/SysUtils.h"
#include "platform/files/PlaylistLocation.h"
#include "platform/files/TextFile.h"
#include "forms/PlayerAccess.h"
#include "forms/PlayerKeys.h"
#include "forms/TfrmLyrics.h"
#include "forms/TrackTime.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

TfrmKolviPlayer* frmKolviPlayer = nullptr;

namespace {

// The piece size of the playlist format: the most of the index line that is
// held, and quoted when it is no number.
constexpr std::size_t IndexLineLimit = 511;
// Lines are taken a piece at a time, so that a line that turns out to end
// the list costs no more than a piece.
constexpr std::size_t PieceLimit = 64 * 1024;
// What follows a NUL is no part of the line's text; no more of it is read
// than this. A line whose discarded rest goes on further ends the list.
constexpr std::uint64_t SkipLimit = 1024 * 1024;

// Skips what is left of the line; false when it goes on past SkipLimit.
bool SkipRestOfLine(TextFileReader& file)
{
    const std::uint64_t until = file.bytesRead() + SkipLimit;
    std::string rest;
    bool cut = true;
    while (cut && file.bytesRead() <= until) {
        if (!file.readLine(rest, PieceLimit, cut))
            return true;
    }
    return !cut;
}

enum class EntryLine { Entry, LastEntry, EndOfList };

// The next entry line's text up to its first NUL, without its line feed.
// The list ends with the data or at a line that begins with a NUL; a line
// whose rest after a NUL is too long to skip is its last entry.
EntryLine ReadEntryLine(TextFileReader& file, std::string& path)
{
    path.clear();
    std::string piece;
    bool cut = true;
    while (cut) {
        if (!file.readLine(piece, PieceLimit, cut))
            return path.empty() ? EntryLine::EndOfList : EntryLine::Entry;
        const auto nul = piece.find('\0');
        if (nul == 0 && path.empty())
            return EntryLine::EndOfList;
        path.append(piece, 0, nul);
        if (nul != std::string::npos)
            return !cut || SkipRestOfLine(file) ? EntryLine::Entry : EntryLine::LastEntry;
    }
    if (path.ends_with('\n'))
        path.pop_back();
    return EntryLine::Entry;
}

}  // namespace

// The framework knows its own controls; the media device comes from the
// media layer, which only the forms see together with the framework.
static const bool MediaPlayerRegistered = RegisterComponent<TMediaPlayer>("TMediaPlayer");

TfrmKolviPlayer::TfrmKolviPlayer(QObject* Owner)
    : TForm(Owner, staticMetaObject, ResourcePath("frmKolviPlayer.dfm")),
      MP3(Component<TMediaPlayer>("MP3")),
      TrackTimer(Component<TTimer>("TrackTimer")),
      btnPrev(Component<TSpeedButton>("btnPrev")),
      btnPlay(Component<TSpeedButton>("btnPlay")),
      btnPause(Component<TSpeedButton>("btnPause")),
      btnStop(Component<TSpeedButton>("btnStop")),
      btnNext(Component<TSpeedButton>("btnNext")),
      btnOpen(Component<TSpeedButton>("btnOpen")),
      btnLyrics(Component<TSpeedButton>("btnLyrics")),
      btnAdd(Component<TSpeedButton>("btnAdd")),
      btnDel(Component<TSpeedButton>("btnDel")),
      Bevel1(Component<TBevel>("Bevel1")),
      TrackVol(Component<TTrackBar>("TrackVol")),
      Label1(Component<TLabel>("Label1")),
      Label2(Component<TLabel>("Label2")),
      TrackPos(Component<TTrackBar>("TrackPos")),
      btnAbout(Component<TSpeedButton>("btnAbout")),
      lvFileList(Component<TListView>("lvFileList")),
      btnConnectHomePage(Component<TSpeedButton>("btnConnectHomePage")),
      lblTime(Component<TLabel>("lblTime"))
{
    (void)MediaPlayerRegistered;
    ListFileName = "";
    DragAcceptFiles(Handle(), TRUE_);
    if (OpenMixer()) {
        FindSpeakerVolumeControl();
        TrackVol->SetMax(static_cast<int>(VolumeMaximum));
        TrackVol->SetMin(static_cast<int>(VolumeMinimum));
        DWORD volume = 0;
        if (GetSpeakerVolume(volume))
            TrackVol->SetPosition(static_cast<int>(volume));
    }
    CurrentIndex = -1;
    ListFileName = playlistFilePath(ExtractFilePath(Application->ExeName()), "List.lst");
    LoadPlaylist(ListFileName);
    IsPlaying = 0;
    if (CurrentIndex > -1) {
        if (TListItem* item = lvFileList->Items()->Item(CurrentIndex))
            item->SetSelected(true);
        else
            lvFileList->SetSelected(nullptr);
    }
    TrackPos->SetValueText([this] { return IsPlaying ? SpokenTrackTime(ShownPosition, ShownLength) : NotPlayingText; });
    DescribeForAssistiveTechnology(*this);
    InstallPlayerKeys(*this);
}

void TfrmKolviPlayer::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_DROPFILES)
        WMDropFiles(Message);
    else
        TForm::Dispatch(Message);
}

void TfrmKolviPlayer::FormDestroy(QObject*)
{
    // The user's data folder may not exist yet.
    if (lvFileList->Items()->Count() > 0)
        makeParentFolders(ListFileName);
    if (!SavePlaylist(ListFileName))
        ReportPlaylistNotSaved();
}

void TfrmKolviPlayer::ReportPlaylistNotSaved()
{
    std::string text = Utf8ToAnsi(PlaylistNotSavedTemplate);
    text.replace(text.find("%s"), 2, ListFileName);
    if (ClosingUnattended) {
        std::fprintf(stderr, "kolviplayer: %s\n", text.c_str());
        return;
    }
    Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONEXCLAMATION);
}

void TfrmKolviPlayer::LoadPlaylist(const std::string& FileName)
{
    TextFileReader file(FileName);
    if (!file.isOpen())
        return;
    std::string line;
    bool cut = false;
    // An empty file has no index line: it counts as no file at all.
    if (!file.readLine(line, IndexLineLimit, cut))
        return;
    const std::string index = Trim(line.substr(0, line.find('\0')));
    if (cut && line.find('\0') == std::string::npos) {
        // The player never writes such a line; the message quotes no more of it than is held.
        RaiseNotAnInteger(index);
    }
    // What follows a NUL is no part of the number; the entries start on the next line.
    const bool entriesFollow = !cut || SkipRestOfLine(file);
    CurrentIndex = StrToInt(index);

    TListItems* items = lvFileList->Items();
    items->BeginUpdate();
    items->Clear();
    for (EntryLine read = entriesFollow ? EntryLine::Entry : EntryLine::EndOfList; read == EntryLine::Entry;) {
        read = ReadEntryLine(file, line);
        if (read != EntryLine::EndOfList)
            AddEntry(line);
    }
    items->EndUpdate();
}

bool TfrmKolviPlayer::SavePlaylist(const std::string& FileName)
{
    TListItems* items = lvFileList->Items();
    if (items->Count() == 0)
        return true;
    AtomicTextFileWriter file(FileName);
    if (!file.isOpen())
        return false;
    file.write(std::to_string(CurrentIndex) + "\r\n");
    for (int index = 0; index < items->Count(); ++index) {
        const std::string path = EntryPath(items->Item(index));
        file.write(path.substr(0, path.find('\0')) + "\r\n");
    }
    return file.commit();
}

void TfrmKolviPlayer::AddFilesFromDialog(bool clearFirst)
{
    TOpenDialog dialog(this);
    dialog.SetDefaultExt("mp3");
    dialog.SetFileName("*.mp3");
    dialog.SetFilter("MP3 Files(*.mp3)|*.mp3|All Files (*.*)|*.*");
    dialog.SetAllowMultiSelect(true);
    if (!dialog.Execute())
        return;
    TListItems* items = lvFileList->Items();
    items->BeginUpdate();
    if (clearFirst)
        items->Clear();
    for (const std::string& file : dialog.Files())
        AddEntry(file);
    items->EndUpdate();
}

void TfrmKolviPlayer::btnOpenClick(QObject*) { AddFilesFromDialog(true); }

void TfrmKolviPlayer::btnAddClick(QObject*) { AddFilesFromDialog(false); }

void TfrmKolviPlayer::WMDropFiles(TMessage& Message)
{
    const auto drop = reinterpret_cast<HDROP>(Message.WParam);
    const UINT count = DragQueryFileA(drop, DragFileCount, nullptr, 0);
    TListItems* items = lvFileList->Items();
    items->BeginUpdate();
    for (UINT index = 0; index < count; ++index) {
        const UINT length = DragQueryFileA(drop, index, nullptr, 0);
        std::vector<char> name(length + 1);
        const UINT copied = DragQueryFileA(drop, index, name.data(), length + 1);
        const std::string path(name.data(), copied);
        // File names are case-sensitive here: only the test is made on a
        // lower-cased copy; the entry keeps the name as it was dropped.
        if (AnsiLowerCase(path).find(".mp3") != std::string::npos)
            AddEntry(path);
    }
    items->EndUpdate();
    DragFinish(drop);
}

void TfrmKolviPlayer::OpenFiles(const std::vector<std::string>& Paths)
{
    TListItems* items = lvFileList->Items();
    const int first = items->Count();
    items->BeginUpdate();
    for (const std::string& path : Paths)
        AddEntry(path);
    items->EndUpdate();
    if (TListItem* item = items->Item(first))
        StartOnly(item);
}

void TfrmKolviPlayer::btnDelClick(QObject*)
{
    TListItem* item = lvFileList->Selected();
    while (item != nullptr) {
        TListItem* next = lvFileList->GetNextSelected(item);
        item->Delete();
        item = next;
    }
    DeselectAll();
}

void TfrmKolviPlayer::DeselectAll()
{
    TListItem* item = lvFileList->Selected();
    while (item != nullptr) {
        TListItem* next = lvFileList->GetNextSelected(item);
        item->SetSelected(false);
        item = next;
    }
}

std::string TfrmKolviPlayer::EntryPath(const TListItem* Item) { return Trim(Item->SubItems()->Text()); }

void TfrmKolviPlayer::AddEntry(const std::string& path)
{
    TListItem* item = lvFileList->Items()->Add();
    // The path first: the name at its end is then a caption without bytes of its own.
    item->SubItems()->Add(path);
    item->SetCaption(ExtractFileName(path));
}

namespace {

const QString PauseCaption = QStringLiteral("멈춤");
const QString ContinueCaption = QStringLiteral("계속");

}  // namespace

void TfrmKolviPlayer::PlayItem(TListItem* Item)
{
    if (Item == nullptr)
        return;
    CurrentIndex = Item->Index();
    MP3->SetFileName(EntryPath(Item));
    try {
        MP3->Open();
    } catch (...) {
        // The file played before is closed now: staying Playing would make
        // every tick and button fail on a closed device.
        ShowIdle();
        throw;
    }
    // A seek made while paused may still be waiting in From.
    if (SeekPending) {
        MP3->SetFrom(0);
        SeekPending = false;
    }
    MP3->Play();
    if (frmLyrics != nullptr && frmLyrics->Visible())
        frmLyrics->ShowTrackLyrics(MP3->FileName());
    IsPlaying = 1;
    IsPaused = 0;
    btnPause->SetCaption(PauseCaption);
    TrackPos->SetPosition(0);
    const DWORD length = MP3->TrackLength(1);
    TrackPos->SetMax(static_cast<int>(length));
    ShowTrackTime(0, length);
}

void TfrmKolviPlayer::ShowIdle()
{
    IsPlaying = 0;
    IsPaused = 0;
    btnPause->SetCaption(PauseCaption);
    lblTime->SetCaption(QString());
}

void TfrmKolviPlayer::ShowTrackTime(DWORD Position, DWORD Length)
{
    ShownPosition = Position;
    ShownLength = Length;
    lblTime->SetCaption(TrackTimeText(Position, Length));
}

void TfrmKolviPlayer::PlayOrPause()
{
    if (IsPlaying != 0) {
        btnPauseClick(btnPause);
        return;
    }
    if (lvFileList->Selected() == nullptr) {
        TListItems* items = lvFileList->Items();
        TListItem* item = items->Item(CurrentIndex);
        if (item == nullptr)
            item = items->Item(0);
        if (item == nullptr)
            return;
        item->SetSelected(true);
    }
    btnPlayClick(btnPlay);
}

void TfrmKolviPlayer::StartOnly(TListItem* Item)
{
    DeselectAll();
    Item->SetSelected(true);
    PlayItem(Item);
}

void TfrmKolviPlayer::btnPlayClick(QObject*)
{
    if (TListItem* item = lvFileList->Selected())
        StartOnly(item);
}

void TfrmKolviPlayer::btnPauseClick(QObject*)
{
    if (IsPlaying == 0)
        return;
    if (IsPaused == 1) {
        // Continuing after a seek plays from the slider's place.
        if (SeekPending) {
            SeekPending = false;
            MP3->Play();
        } else {
            MP3->Resume();
        }
        IsPaused = 0;
        btnPause->SetCaption(PauseCaption);
    } else {
        MP3->Pause();
        IsPaused = 1;
        btnPause->SetCaption(ContinueCaption);
    }
}

void TfrmKolviPlayer::btnStopClick(QObject*)
{
    if (IsPlaying == 0)
        return;
    MP3->Stop();
    ShowIdle();
}

void TfrmKolviPlayer::btnNextClick(QObject*)
{
    TListItems* items = lvFileList->Items();
    TListItem* item = items->Item(CurrentIndex + 1);
    if (item == nullptr)
        item = items->Item(0);
    if (item != nullptr)
        StartOnly(item);
}

void TfrmKolviPlayer::btnPrevClick(QObject*)
{
    TListItems* items = lvFileList->Items();
    TListItem* item = items->Item(CurrentIndex - 1);
    if (item == nullptr)
        item = items->Item(items->Count() - 1);
    if (item != nullptr)
        StartOnly(item);
}

void TfrmKolviPlayer::lvFileListDblClick(QObject*)
{
    if (TListItem* item = lvFileList->Selected())
        PlayItem(item);
}

void TfrmKolviPlayer::TrackPosChange(QObject*)
{
    if (IsPlaying == 0)
        return;
    const auto position = static_cast<DWORD>(TrackPos->Position());
    if (IsPaused == 1) {
        // Stays paused, silent: the next Play (continue) starts from here.
        MP3->SetFrom(position);
        SeekPending = true;
        ShowTrackTime(position, ShownLength);
        return;
    }
    MP3->Pause();
    MP3->SetFrom(position);
    SeekPending = false;
    MP3->Play();
    ShowTrackTime(position, ShownLength);
}

DWORD TfrmKolviPlayer::TrackPosition()
{
    return SeekPending ? static_cast<DWORD>(TrackPos->Position()) : MP3->Position();
}

void TfrmKolviPlayer::TrackTimerTimer(QObject*)
{
    if (IsPlaying == 0)
        return;
    const DWORD length = MP3->TrackLength(1);
    const DWORD position = MP3->Position();
    if (length == position)
        PlayNextPlayable();
    else if (!SeekPending)  // paused after a seek: the device still stands at the old place
        ShowTrackTime(position, length);
}

// Entries that cannot be played are passed over, up to one whole round of
// the list, after which the player stands Idle. The first failure is told
// in one message, unless a box is open already: its loop goes on ticking,
// and a second box would only stack on it. Without a sound output no entry
// can play, so the round ends at once.
void TfrmKolviPlayer::PlayNextPlayable()
{
    std::optional<std::string> firstFailure;
    for (int tried = 0; tried < lvFileList->Items()->Count(); ++tried) {
        try {
            btnNextClick(this);
            break;
        } catch (const EMCIDeviceError& error) {
            if (!firstFailure)
                firstFailure = error.Message();
            if (MP3->Error() == MCIERR_WAVE_OUTPUTSUNSUITABLE)
                break;
        }
    }
    if (firstFailure && !Application->MessageBoxOpen())
        Application->ShowException(EMCIDeviceError(*firstFailure));
}

void TfrmKolviPlayer::TrackVolChange(QObject*)
{
    if (IsPlaying != 0)
        SetSpeakerVolume(static_cast<DWORD>(TrackVol->Position()));
}

void TfrmKolviPlayer::btnLyricsClick(QObject*)
{
    if (frmLyrics->Visible()) {
        frmLyrics->Hide();
        return;
    }
    connect(frmLyrics, &TfrmLyrics::PlaybackSeekAsked, this, &TfrmKolviPlayer::LyricsSeekAsked, Qt::UniqueConnection);
    // Against the right edge of this window, as high as it; the width is the user's.
    frmLyrics->SetTop(Top());
    frmLyrics->SetLeft(Left() + Width());
    frmLyrics->SetHeight(Height());
    if (IsPlaying)
        frmLyrics->PrepareTrackLyrics(MP3->FileName());
    frmLyrics->Show();
    // A window's frame is known only once it is shown: on the first show its
    // height may have to take the frame into account again.
    if (frmLyrics->Height() != Height())
        frmLyrics->SetHeight(Height());
    if (IsPlaying)
        frmLyrics->ShowTrackLyrics(MP3->FileName());
}

void TfrmKolviPlayer::LyricsSeekAsked(qint64 ms)
{
    if (IsPlaying == 0)
        return;
    const int position = static_cast<int>(std::clamp<qint64>(ms, 0, TrackPos->Max()));
    // A slider already there raises no change of its own.
    if (TrackPos->Position() != position)
        TrackPos->SetPosition(position);
    else
        TrackPosChange(TrackPos);
}

void TfrmKolviPlayer::btnAboutClick(QObject*)
{
    std::string text = AboutTemplate;
    text.replace(text.find("%s"), 2, ReleaseDate);
    Application->MessageBox(Utf8ToAnsi(text), AboutCaption, MB_OK);
}

void TfrmKolviPlayer::btnConnectHomePageClick(QObject*)
{
    const std::string address = std::string("http://") + KOLVI_HOME_HOST;
    ShellExecuteA(Handle(), "open", "Iexplore.exe", address.c_str(), "", SW_SHOWNORMAL);
}

bool TfrmKolviPlayer::OpenMixer()
{
    MixerDeviceCount = mixerGetNumDevs();
    MixerHandle = nullptr;
    MixerCaps = MIXERCAPSA{};
    if (MixerDeviceCount == 0)
        return true;
    if (mixerOpen(&MixerHandle, 0, reinterpret_cast<DWORD_PTR>(Handle()), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return false;
    if (mixerGetDevCapsA(MixerHandle, &MixerCaps, sizeof MixerCaps) != MMSYSERR_NOERROR) {
        // A device that cannot describe itself counts as none, so that no
        // slider move is ever written to a control that was never found.
        mixerClose(MixerHandle);
        MixerHandle = nullptr;
        return false;
    }
    return true;
}

bool TfrmKolviPlayer::FindSpeakerVolumeControl()
{
    if (MixerHandle == nullptr)
        return false;
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoA(MixerHandle, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return false;
    MIXERCONTROLA control{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (mixerGetLineControlsA(MixerHandle, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR)
        return false;
    VolumeMinimum = control.Bounds.dwMinimum;
    VolumeMaximum = control.Bounds.dwMaximum;
    VolumeControlID = control.dwControlID;
    return true;
}

namespace {

// One unsigned value for all channels of the volume control.
MIXERCONTROLDETAILS VolumeDetails(DWORD controlID, MIXERCONTROLDETAILS_UNSIGNED& value)
{
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlID;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    return details;
}

}  // namespace

bool TfrmKolviPlayer::GetSpeakerVolume(DWORD& Value)
{
    if (MixerHandle == nullptr)
        return false;
    MIXERCONTROLDETAILS_UNSIGNED value{};
    MIXERCONTROLDETAILS details = VolumeDetails(VolumeControlID, value);
    if (mixerGetControlDetailsA(MixerHandle, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return false;
    Value = value.dwValue;
    return true;
}

bool TfrmKolviPlayer::SetSpeakerVolume(DWORD Value)
{
    if (MixerHandle == nullptr)
        return false;
    MIXERCONTROLDETAILS_UNSIGNED value{Value};
    MIXERCONTROLDETAILS details = VolumeDetails(VolumeControlID, value);
    return mixerSetControlDetails(MixerHandle, &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}
