#include "forms/TfrmLyrics.h"

#include "platform/files/CodePage.h"
#include "framework/ComponentRegistry.h"
#include "resources/KolviResources.h"
#include "forms/LyricsAddress.h"

#include <QShortcut>
#include <algorithm>
#include <vector>

TfrmLyrics* frmLyrics = nullptr;

// The browser control is the framework's, but only this window uses it.
static const bool BrowserRegistered = RegisterComponent<TCppWebBrowser>("TCppWebBrowser");

TfrmLyrics::TfrmLyrics(QObject* Owner)
    : TForm(Owner, staticMetaObject, ResourcePath("frmLyrics.dfm")),
      Browser(Component<TCppWebBrowser>("Browser")),
      StandIn(new LyricsStandIn(Browser, this))
{
    (void)BrowserRegistered;
    // Escape puts the window away, as the lyrics button does.
    auto* hide = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(hide, &QShortcut::activated, this, &TForm::Hide);
    StandIn->OnSeekAsked([this](qint64 ms) { emit PlaybackSeekAsked(ms); });
}

void TfrmLyrics::FormShow(QObject*)
{
    StandIn->IndexAsked();
    NavigateTo(LyricsIndexAddress());
}

void TfrmLyrics::NavigateTo(const std::string& Address)
{
    // The size first, the terminating NUL included; then the text itself.
    const int length = MultiByteToWideChar(CP_ACP, 0, Address.c_str(), -1, nullptr, 0);
    std::vector<char16_t> wide(static_cast<std::size_t>(std::max(length, 1)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, Address.c_str(), -1, wide.data(), length);

    // Flags, target frame, post data and headers are all left out. The
    // variants and the wide text go when they leave scope.
    const TVariant flags = TVariant::Missing();
    const TVariant targetFrameName = TVariant::Missing();
    const TVariant postData = TVariant::Missing();
    const TVariant headers = TVariant::Missing();
    Browser->Navigate(std::u16string(wide.data()), flags, targetFrameName, postData, headers);
}

void TfrmLyrics::PrepareTrackLyrics(const std::string& Path)
{
    StandIn->TrackComing(Path);
}

void TfrmLyrics::ShowTrackLyrics(const std::string& Path)
{
    FormLyricsAddress(Path);
    StandIn->TrackAsked(Path);
    NavigateTo(LyricsAddress);
}
