#include "WebBrowser.h"

#include "IsolatedWebPage.h"

#include <QEvent>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>
#include <utility>

namespace {

// The web engine's sandbox cannot work for the root user, and without it
// switched off the engine ends at once. It is read when the engine starts.
void AllowStartAsRoot()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

bool IsLeftOut(const TVariant& argument)
{
    return argument.vt == VT_EMPTY || argument.IsMissing();
}

}  // namespace

TCppWebBrowser::TCppWebBrowser(QWidget* owner) : TWinControl(owner)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

TCppWebBrowser::~TCppWebBrowser() = default;

void TCppWebBrowser::SetAlign(TAlign align)
{
    align_ = align;
    if (QWidget* parent = parentWidget()) {
        parent->removeEventFilter(this);
        if (align_ == alClient)
            parent->installEventFilter(this);
    }
    FillParent();
}

void TCppWebBrowser::Loaded()
{
    FillParent();
}

bool TCppWebBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FillParent();
    return TWinControl::eventFilter(watched, event);
}

void TCppWebBrowser::FillParent()
{
    if (align_ == alClient && parentWidget() != nullptr)
        setGeometry(parentWidget()->rect());
}

HRESULT TCppWebBrowser::Navigate(const std::u16string& url, const TVariant& flags, const TVariant& targetFrameName,
                                 const TVariant& postData, const TVariant& headers)
{
    if (!IsLeftOut(flags) || !IsLeftOut(targetFrameName) || !IsLeftOut(postData) || !IsLeftOut(headers))
        return E_INVALIDARG;
    // The address ends at its first NUL, as a C string would.
    const std::u16string_view text(url.c_str());
    const QUrl address(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    if (!IsWebPageAddress(address))
        return E_INVALIDARG;
    emit NavigateRequested(address);
    if (view_)
        view_->load(address);
    else
        pending_ = address;
    return S_OK;
}

void TCppWebBrowser::showEvent(QShowEvent* event)
{
    if (!view_)
        CreateEngine();
    TWinControl::showEvent(event);
}

void TCppWebBrowser::CreateEngine()
{
    AllowStartAsRoot();
    profile_ = MakeIsolatedProfile();
    page_ = std::make_unique<IsolatedWebPage>(profile_.get());
    view_ = std::make_unique<QWebEngineView>(page_.get(), this);
    layout()->addWidget(view_.get());
    if (!pending_.isEmpty())
        view_->load(std::exchange(pending_, QUrl()));
}
