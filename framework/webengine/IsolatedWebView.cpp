#include "framework/webengine/IsolatedWebView.h"

#include "framework/webengine/EngineStart.h"
#include "framework/webengine/ExactAddressPage.h"
#include "framework/webengine/IsolatedWebPage.h"

#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <malloc.h>

IsolatedWebView::IsolatedWebView(QWidget* parent)
    : WebEngineView(parent), watch_(HostAnswerLimitMs, [this](const QUrl& address) { ReportPageUnavailable(address); })
{
    PrepareWebEngineStart();
    view_ = std::make_unique<QWebEngineView>(this);
    NewPage();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_.get());
}

IsolatedWebView::~IsolatedWebView() = default;

void IsolatedWebView::NewPage()
{
    auto profile = MakeIsolatedProfile();
    auto page = std::make_unique<IsolatedWebPage>(profile.get());
    connect(page.get(), &QWebEnginePage::loadFinished, this, &IsolatedWebView::PageLoaded);
    watch_.Watch(page.get());
    view_->setPage(page.get());
    // The page before goes now, and its renderer process with it; then the
    // profile it kept its cache and cookies in.
    page_ = std::move(page);
    profile_ = std::move(profile);
    ownPage_ = false;
    ownPageLoaded_ = false;
    ownScript_.clear();
}

void IsolatedWebView::Load(const QString& address)
{
    ownPage_ = false;
    ownScript_.clear();
    const QUrl target(address);
    watch_.Expect(target);
    page_->setHtml(ExactAddressPageHtml(address), ExactAddressPageBase(target));
}

void IsolatedWebView::ShowOwnPage(const QString& html)
{
    watch_.Forget();
    ownPage_ = true;
    ownPageLoaded_ = false;
    ownScript_.clear();
    page_->setHtml(html);
}

void IsolatedWebView::RunInOwnPage(const QString& script)
{
    if (!ownPage_)
        return;
    ownScript_ = script;
    if (ownPageLoaded_)
        page_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
}

void IsolatedWebView::PageLoaded(bool ok)
{
    // A load that finishes before the own page has may be the page before
    // it: the script is run again when the own page's own load finishes.
    if (!ok || !ownPage_)
        return;
    ownPageLoaded_ = true;
    if (!ownScript_.isEmpty())
        page_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
}

void IsolatedWebView::EndPage()
{
    watch_.Forget();
    NewPage();
    // What the engine let go goes back to the system, not only to the heap.
    malloc_trim(0);
}

extern "C" Q_DECL_EXPORT WebEngineView* KolviCreateWebEngineView(QWidget* parent)
{
    return new IsolatedWebView(parent);
}
