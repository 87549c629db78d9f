#include "framework/webengine/IsolatedWebView.h"

#include "framework/webengine/EngineStart.h"
#include "framework/webengine/ExactAddressPage.h"
#include "framework/webengine/IsolatedWebPage.h"

#include <QMenu>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <malloc.h>
#include <utility>

IsolatedWebView::IsolatedWebView(QWidget* parent)
    : WebEngineView(parent),
      watch_(
          HostAnswerLimitMs, [this](const QUrl& address) { ReportPageUnavailable(address); },
          [this] {
              EndMeanwhile();
              ReportPageShown();
          })
{
    PrepareWebEngineStart();
    view_ = std::make_unique<QWebEngineView>(this);
    TakeMenu(view_.get());
    NewPage();
    layers_ = new QStackedLayout(this);
    layers_->setContentsMargins(0, 0, 0, 0);
    // Every layer stays shown, the current one on top: a view shown for the
    // first time takes seconds to draw, too long for a stand-in.
    layers_->setStackingMode(QStackedLayout::StackAll);
    layers_->addWidget(view_.get());
}

IsolatedWebView::~IsolatedWebView() = default;

std::unique_ptr<IsolatedWebPage> IsolatedWebView::MakePage()
{
    auto page = std::make_unique<IsolatedWebPage>(profile_.get());
    // Reported from the event loop, not from inside the engine's navigation.
    page->OnOwnLinkClicked([this](const QString& target) {
        QMetaObject::invokeMethod(this, [this, target] { ReportOwnLinkClicked(target); }, Qt::QueuedConnection);
    });
    return page;
}

void IsolatedWebView::NewPage()
{
    EndMeanwhile();
    meanwhileView_.reset();
    meanwhileHolder_.reset();
    meanwhilePage_.reset();
    // The page before goes now, and its renderer process with it; then the
    // profile it kept its cache and cookies in.
    std::unique_ptr<QWebEngineProfile> before = std::exchange(profile_, MakeIsolatedProfile());
    auto page = MakePage();
    connect(page.get(), &QWebEnginePage::loadFinished, this, &IsolatedWebView::PageLoaded);
    watch_.Watch(page.get());
    view_->setPage(page.get());
    page_ = std::move(page);
    before.reset();
    ownPage_ = false;
    ownPageLoaded_ = false;
    ownScript_.clear();
}

void IsolatedWebView::Load(const QString& address)
{
    EndMeanwhile();
    // Ready before it is needed: a stand-in shown while the page comes
    // would otherwise wait seconds for a renderer of its own.
    if (!meanwhileView_)
        MakeMeanwhile();
    ownPage_ = false;
    ownScript_.clear();
    const QUrl target(address);
    watch_.Expect(target);
    page_->setHtml(ExactAddressPageHtml(address), ExactAddressPageBase(target));
}

void IsolatedWebView::ShowOwnPage(const QString& html)
{
    EndMeanwhile();
    watch_.Forget();
    ownPage_ = true;
    ownPageLoaded_ = false;
    ownScript_.clear();
    page_->setHtml(html);
}

void IsolatedWebView::MakeMeanwhile()
{
    meanwhilePage_ = MakePage();
    connect(meanwhilePage_.get(), &QWebEnginePage::loadFinished, this, &IsolatedWebView::MeanwhileLoaded);
    // One level down, so that the view of the web page stays the first one
    // found among this widget's children.
    meanwhileHolder_ = std::make_unique<QWidget>(this);
    auto* holderLayout = new QVBoxLayout(meanwhileHolder_.get());
    holderLayout->setContentsMargins(0, 0, 0, 0);
    meanwhileView_ = std::make_unique<QWebEngineView>(meanwhileHolder_.get());
    meanwhileView_->setPage(meanwhilePage_.get());
    TakeMenu(meanwhileView_.get());
    holderLayout->addWidget(meanwhileView_.get());
    layers_->addWidget(meanwhileHolder_.get());
    meanwhilePage_->setHtml(QString());
}

void IsolatedWebView::ShowOwnPageMeanwhile(const QString& html)
{
    if (ownPage_)
        return;
    if (!meanwhileView_)
        MakeMeanwhile();
    meanwhileLoaded_ = false;
    ownScript_.clear();
    meanwhilePage_->setHtml(html);
    layers_->setCurrentWidget(meanwhileHolder_.get());
}

void IsolatedWebView::EndMeanwhile()
{
    // The view and its renderer stay for the next track; only the page
    // the engine brought is shown.
    if (meanwhileView_ && layers_->currentWidget() == meanwhileHolder_.get()) {
        layers_->setCurrentWidget(view_.get());
        meanwhilePage_->setHtml(QString());
        meanwhileLoaded_ = false;
    }
}

void IsolatedWebView::RunInOwnPage(const QString& script)
{
    const bool meanwhile = meanwhileView_ && layers_->currentWidget() == meanwhileHolder_.get();
    if (!ownPage_ && !meanwhile)
        return;
    ownScript_ = script;
    if (ownPage_ && ownPageLoaded_)
        page_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
    if (meanwhile && meanwhileLoaded_)
        meanwhilePage_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
}

void IsolatedWebView::PageLoaded(bool ok)
{
    // The engine keeps a zoom for each site: a new page gets the listener's.
    page_->setZoomFactor(zoom_);
    // A load that finishes before the own page has may be the page before
    // it: the script is run again when the own page's own load finishes.
    if (!ok || !ownPage_)
        return;
    ownPageLoaded_ = true;
    if (!ownScript_.isEmpty())
        page_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
    ReportPageShown();
}

void IsolatedWebView::MeanwhileLoaded(bool ok)
{
    meanwhilePage_->setZoomFactor(zoom_);
    if (!ok || !meanwhileView_ || layers_->currentWidget() != meanwhileHolder_.get())
        return;
    meanwhileLoaded_ = true;
    if (!ownScript_.isEmpty())
        meanwhilePage_->runJavaScript(ownScript_, QWebEngineScript::ApplicationWorld);
    ReportPageShown();
}

void IsolatedWebView::SetZoom(double zoom)
{
    zoom_ = zoom;
    page_->setZoomFactor(zoom_);
    if (meanwhilePage_)
        meanwhilePage_->setZoomFactor(zoom_);
}

void IsolatedWebView::SetMenuActions(const QList<QAction*>& actions)
{
    menuActions_ = actions;
}

void IsolatedWebView::TakeMenu(QWebEngineView* view)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) { ShowMenu(view, at); });
}

void IsolatedWebView::ShowMenu(QWebEngineView* view, const QPoint& at)
{
    QMenu* menu = view->createStandardContextMenu();
    if (!menuActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(menuActions_);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view->mapToGlobal(at));
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
