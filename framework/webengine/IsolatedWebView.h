#pragma once
// The browser control's view: an isolated page in a profile of its own,
// shown by a QWebEngineView that fills the widget. Web pages are reached
// through a page of the program's own that hands the engine their address
// as written (ExactAddressPage.h); a page that cannot be had is reported.
#include "framework/webengine/HostAnswerWatch.h"
#include "framework/WebEngineView.h"

#include <memory>

class IsolatedWebPage;
class QWebEngineProfile;
class QWebEngineView;

class IsolatedWebView : public WebEngineView {
public:
    explicit IsolatedWebView(QWidget* parent);
    ~IsolatedWebView() override;

    void Load(const QString& address) override;
    void ShowOwnPage(const QString& html) override;
    void RunInOwnPage(const QString& script) override;
    void EndPage() override;

private:
    void NewPage();
    void PageLoaded(bool ok);

    // Declared in the order of creation: the view goes first, then its page,
    // and the profile last, as the web engine requires.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<IsolatedWebPage> page_;
    std::unique_ptr<QWebEngineView> view_;
    HostAnswerWatch watch_;
    bool ownPage_ = false;  // the page asked for last is the program's own
    bool ownPageLoaded_ = false;
    QString ownScript_;
};
