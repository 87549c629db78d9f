#include "TfrmKolviPlayer.h"

#include "AboutTexts.h"
#include "Application.h"
#include "CodePage.h"
#include "ComponentRegistry.h"
#include "Dialogs.h"
#include "KolviResources.h"
#include "Launcher.h"
#include "ShellDrop.h"
#include "SysUtils.h"
#include "TextFile.h"
#include "TfrmLyrics.h"
#include "UnicodeToAnsi.h"

#include <algorithm>
#include <vector>

TfrmKolviPlayer* frmKolviPlayer = nullptr;

// The framework knows its own controls; the media device comes from the
// media layer, which only the forms see together with the framework.
static const bool mediaPlayerRegistered = RegisterComponent<TMediaPlayer>("TMediaPlayer");

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
      btnConnectHomePage(Component<TSpeedButton>("btnConnectHomePage"))
{
    (void)mediaPlayerRegistered;
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
    ListFileName = ExtractFilePath(Application->ExeName()) + "List.lst";
    LoadPlaylist(ListFileName);
    IsPlaying = 0;
    if (CurrentIndex > -1) {
        if (TListItem* item = lvFileList->Items()->Item(CurrentIndex))
            item->SetSelected(true);
        else
            lvFileList->SetSelected(nullptr);
    }
}

void TfrmKolviPlayer::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_DROPFILES)
        WMDropFiles(Message);
    else
        TForm::Dispatch(Message);
}

void TfrmKolviPlayer::FormDestroy(QObject*) { SavePlaylist(ListFileName); }

void TfrmKolviPlayer::LoadPlaylist(const std::string& FileName)
{
    TextFileReader file(FileName);
    if (!file.IsOpen())
        return;
    std::string line;
    // An empty file has no index line: it counts as no file at all.
    if (!file.ReadLine(line))
        return;
    CurrentIndex = StrToInt(Trim(line.substr(0, line.find('\0'))));

    TListItems* items = lvFileList->Items();
    items->BeginUpdate();
    items->Clear();
    while (file.ReadLine(line) && !line.empty() && line.front() != '\0') {
        line.resize(std::min(line.find('\0'), line.size()));
        if (line.ends_with('\n'))
            line.pop_back();
        AddEntry(line);
    }
    items->EndUpdate();
}

void TfrmKolviPlayer::SavePlaylist(const std::string& FileName)
{
    TListItems* items = lvFileList->Items();
    if (items->Count() == 0)
        return;
    AtomicTextFileWriter file(FileName);
    if (!file.IsOpen())
        return;
    file.Write(std::to_string(CurrentIndex) + "\r\n");
    for (int index = 0; index < items->Count(); ++index) {
        const std::string path = EntryPath(items->Item(index));
        file.Write(path.substr(0, path.find('\0')) + "\r\n");
    }
    file.Commit();
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
    item->SetCaption(ExtractFileName(path));
    item->SubItems()->Add(path);
}

void TfrmKolviPlayer::btnPlayClick(QObject*) {}

void TfrmKolviPlayer::btnPauseClick(QObject*) {}

void TfrmKolviPlayer::btnStopClick(QObject*) {}

void TfrmKolviPlayer::btnNextClick(QObject*) {}

void TfrmKolviPlayer::btnPrevClick(QObject*) {}

void TfrmKolviPlayer::lvFileListDblClick(QObject*) {}

void TfrmKolviPlayer::TrackPosChange(QObject*) {}

void TfrmKolviPlayer::TrackTimerTimer(QObject*) {}

void TfrmKolviPlayer::TrackVolChange(QObject*) {}

void TfrmKolviPlayer::btnLyricsClick(QObject*)
{
    if (frmLyrics->Visible()) {
        frmLyrics->Hide();
        return;
    }
    // Against the right edge of this window, as high as it; the width is the user's.
    frmLyrics->SetTop(Top());
    frmLyrics->SetLeft(Left() + Width());
    frmLyrics->SetHeight(Height());
    frmLyrics->Show();
    // A window's frame is known only once it is shown: on the first show its
    // height may have to take the frame into account again.
    if (frmLyrics->Height() != Height())
        frmLyrics->SetHeight(Height());
    if (IsPlaying)
        frmLyrics->ShowTrackLyrics(MP3->FileName());
}

void TfrmKolviPlayer::btnAboutClick(QObject*)
{
    std::string text = AboutTemplate;
    text.replace(text.find("%s"), 2, ReleaseDate);
    Application->MessageBox(ToAnsi(QString::fromUtf8(text)), AboutCaption, MB_OK);
}

void TfrmKolviPlayer::btnConnectHomePageClick(QObject*)
{
    const std::string address = std::string("http://") + KOLVI_HOME_HOST;
    ShellExecuteA(Handle(), "open", "Iexplore.exe", address.c_str(), "", SW_SHOWNORMAL);
}

bool TfrmKolviPlayer::OpenMixer() { return false; }

bool TfrmKolviPlayer::FindSpeakerVolumeControl() { return false; }

bool TfrmKolviPlayer::GetSpeakerVolume(DWORD&) { return false; }

bool TfrmKolviPlayer::SetSpeakerVolume(DWORD) { return false; }
