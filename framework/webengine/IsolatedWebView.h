#pragma once
// The browser control's view: an isolated page in a profile of its own,
// shown by a QWebEngineView that fills the widget. Web pages are reached
// through a page of the program's own that hands the engine their address
// as written (ExactAddressPage.h); a page that cannot be had is reported.
// While a web page is on its way, a page of the program's own may stand in
// front of it, in a second view over the first.
#include "framework/webengine/HostAnswerWatch.h"
#include "framework/WebEngineView.h"

#include <memory>

class IsolatedWebPage;
class QStackedLayout;
class QWebEngineProfile;
class QWebEngineView;

class IsolatedWebView : public WebEngineView {
public:
    explicit IsolatedWebView(QWidget* parent);
    ~IsolatedWebView() override;

    void Load(const QString& address) override;
    void ShowOwnPage(const QString& html) override;
    void ShowOwnPageMeanwhile(const QString& html) override;
    void RunInOwnPage(const QString& script) override;
    void SetZoom(double zoom) override;
    void SetMenuActions(const QList<QAction*>& actions) override;
    void EndPage() override;

private:
    void NewPage();
    void PageLoaded(bool ok);
    void MeanwhileLoaded(bool ok);
    void EndMeanwhile();
    void MakeMeanwhile();
    std::unique_ptr<IsolatedWebPage> MakePage();
    void ShowMenu(QWebEngineView* view, const QPoint& at);
    void TakeMenu(QWebEngineView* view);

    // Declared in the order of creation: the views go first, then their
    // pages, and the profile last, as the web engine requires.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<IsolatedWebPage> page_;
    std::unique_ptr<IsolatedWebPage> meanwhilePage_;
    std::unique_ptr<QWebEngineView> view_;
    std::unique_ptr<QWidget> meanwhileHolder_;
    std::unique_ptr<QWebEngineView> meanwhileView_;
    QStackedLayout* layers_ = nullptr;
    HostAnswerWatch watch_;
    bool ownPage_ = false;  // the page asked for last is the program's own
    bool ownPageLoaded_ = false;
    bool meanwhileLoaded_ = false;
    QString ownScript_;
    double zoom_ = 1.0;
    QList<QAction*> menuActions_;
};
