#include "IsolatedWebView.h"

#include "EngineStart.h"
#include "IsolatedWebPage.h"

#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

IsolatedWebView::IsolatedWebView(QWidget* parent) : WebEngineView(parent)
{
    PrepareWebEngineStart();
    profile_ = MakeIsolatedProfile();
    page_ = std::make_unique<IsolatedWebPage>(profile_.get());
    view_ = std::make_unique<QWebEngineView>(page_.get(), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_.get());
}

IsolatedWebView::~IsolatedWebView() = default;

void IsolatedWebView::Load(const QUrl& url)
{
    view_->load(url);
}

extern "C" Q_DECL_EXPORT WebEngineView* KolviCreateWebEngineView(QWidget* parent)
{
    return new IsolatedWebView(parent);
}
