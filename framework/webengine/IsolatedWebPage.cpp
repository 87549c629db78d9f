#include "framework/webengine/IsolatedWebPage.h"

#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

namespace {

void LockDown(QWebEngineSettings* settings)
{
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    // A music file dropped on the window would otherwise replace the page.
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}

}  // namespace

std::unique_ptr<QWebEngineProfile> MakeIsolatedProfile()
{
    // A profile without a storage name is off the record: cookies, cache and
    // local storage live in memory only and go with the profile.
    auto profile = std::make_unique<QWebEngineProfile>();
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    // Downloads are never accepted, and the engine cancels every download
    // that is not.
    return profile;
}

IsolatedWebPage::IsolatedWebPage(QWebEngineProfile* profile) : QWebEnginePage(profile)
{
    LockDown(settings());
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, QWebEnginePage::Feature feature) {
                setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fileSystemAccessRequested,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fullScreenRequested,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    // A link that asks for a new window opens in this one, when the user
    // clicked it; pop-ups of the page's own accord are dropped.
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated() && IsWebPageAddress(request.requestedUrl()))
            load(request.requestedUrl());
    });
}

bool IsolatedWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // The program's own documents (setHtml) come as typed data addresses; a
    // page can type none.
    if (isMainFrame && url.scheme() == u"data")
        return type == NavigationTypeTyped;
    // A click the program's own page hands to the program; it loads nothing.
    if (const auto target = OwnLinkTarget(url)) {
        if (isMainFrame && type == NavigationTypeLinkClicked && this->url().scheme() == u"data" && ownLinkClicked_)
            ownLinkClicked_(*target);
        return false;
    }
    return !isMainFrame || IsWebPageAddress(url);
}

QWebEnginePage* IsolatedWebPage::createWindow(WebWindowType)
{
    return nullptr;
}

QStringList IsolatedWebPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    return {};
}
