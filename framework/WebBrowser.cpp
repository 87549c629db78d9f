#include "framework/WebBrowser.h"

#include "framework/QuickOwnPage.h"
#include "framework/WebEngineView.h"
#include "platform/win/Modules.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
// Qt WebEngine's own code frees some objects with a sized delete smaller
// than their allocation. That is not ours to mend, and it would end every
// sanitizer run of a program that shows a web page. Weak: a test program
// may say more.
extern "C" __attribute__((weak)) const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif

namespace {

bool IsLeftOut(const TVariant& argument)
{
    return argument.vt == VT_EMPTY || argument.IsMissing();
}

// The module's entry point, or the reason it could not be had.
struct EngineEntry {
    CreateWebEngineViewFunction create = nullptr;
    QString failure;
};

const EngineEntry& WebEngineModule()
{
    static const EngineEntry entry = [] {
        const QString fileName = QStringLiteral(KOLVI_WEBENGINE_MODULE);
        const ModuleEntry module = loadModuleEntry(fileName, CreateWebEngineViewName);
        return EngineEntry{reinterpret_cast<CreateWebEngineViewFunction>(module.entry),
                           module.failure.isEmpty() ? QStringLiteral("%1 파일이 설치되어 있지 않습니다").arg(fileName)
                                                    : module.failure};
    }();
    return entry;
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
    const std::u16string_view wide(url.c_str());
    const QString text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
    const QUrl address(text);
    if (!IsWebPageAddress(address))
        return E_INVALIDARG;
    emit NavigateRequested(address);
    pendingMeanwhile_.clear();
    EndQuickPage();
    if (view_ && isVisible()) {
        view_->Load(text);
    } else {
        pendingAddress_ = text;
        pendingOwnPage_.clear();
    }
    return S_OK;
}

void TCppWebBrowser::ShowOwnPage(const QString& html)
{
    pendingMeanwhile_.clear();
    // Already drawn by Qt: the new page there too, until the engine's comes.
    if (quickPage_ != nullptr && !quickPage_->isHidden())
        ShowQuickPage(html);
    if (view_ && isVisible()) {
        view_->ShowOwnPage(html);
    } else {
        pendingOwnPage_ = html;
        pendingAddress_.clear();
    }
}

void TCppWebBrowser::ShowOwnPageMeanwhile(const QString& html)
{
    ShowQuickPage(html);
    if (view_ && isVisible())
        view_->ShowOwnPageMeanwhile(html);
    else
        pendingMeanwhile_ = html;
}

void TCppWebBrowser::AddMenuAction(QAction* action)
{
    menuActions_.append(action);
    if (view_)
        view_->SetMenuActions(menuActions_);
}

void TCppWebBrowser::SetZoom(double zoom)
{
    zoom_ = zoom;
    if (view_)
        view_->SetZoom(zoom_);
}

void TCppWebBrowser::RunInOwnPage(const QString& script)
{
    if (view_)
        view_->RunInOwnPage(script);
}

void TCppWebBrowser::showEvent(QShowEvent* event)
{
    if (!view_ && failure_ == nullptr)
        CreateEngine();
    OpenPending();
    TWinControl::showEvent(event);
}

void TCppWebBrowser::hideEvent(QHideEvent* event)
{
    EndQuickPage();
    // Not inside the hide itself, which the engine's view is still taking part in.
    QMetaObject::invokeMethod(this, &TCppWebBrowser::EndHiddenPage, Qt::QueuedConnection);
    TWinControl::hideEvent(event);
}

void TCppWebBrowser::resizeEvent(QResizeEvent* event)
{
    if (quickPage_ != nullptr)
        quickPage_->setGeometry(rect());
    TWinControl::resizeEvent(event);
}

void TCppWebBrowser::ShowQuickPage(const QString& html)
{
    if (failure_ != nullptr)
        return;
    if (quickPage_ == nullptr) {
        quickPage_ = new QuickOwnPage(this);
        connect(quickPage_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
            if (const auto target = OwnLinkTarget(link))
                emit OwnLinkClicked(*target);
        });
    }
    if (!quickPage_->ShowPage(html)) {
        quickPage_->hide();
        return;
    }
    quickPage_->setGeometry(rect());
    quickPage_->raise();
    quickPage_->show();
}

void TCppWebBrowser::EndQuickPage()
{
    if (quickPage_ == nullptr || quickPage_->isHidden())
        return;
    quickPage_->hide();
    quickPage_->clear();
}

void TCppWebBrowser::EndHiddenPage()
{
    if (view_ && !isVisible())
        view_->EndPage();
}

void TCppWebBrowser::OpenPending()
{
    if (!view_)
        return;
    if (!pendingAddress_.isEmpty())
        view_->Load(std::exchange(pendingAddress_, QString()));
    else if (!pendingOwnPage_.isEmpty())
        view_->ShowOwnPage(std::exchange(pendingOwnPage_, QString()));
    if (!pendingMeanwhile_.isEmpty())
        view_->ShowOwnPageMeanwhile(std::exchange(pendingMeanwhile_, QString()));
}

void TCppWebBrowser::CreateEngine()
{
    const EngineEntry& module = WebEngineModule();
    if (module.create == nullptr) {
        failure_ = new QLabel(QStringLiteral("웹 엔진을 시작할 수 없습니다: %1").arg(module.failure), this);
        failure_->setWordWrap(true);
        failure_->setAlignment(Qt::AlignCenter);
        layout()->addWidget(failure_);
        EndQuickPage();
        return;
    }
    view_.reset(module.create(this));
    view_->OnPageUnavailable([this](const QUrl& url) { emit NavigateFailed(url); });
    view_->OnOwnLinkClicked([this](const QString& target) { emit OwnLinkClicked(target); });
    view_->OnPageShown([this] { EndQuickPage(); });
    view_->SetZoom(zoom_);
    view_->SetMenuActions(menuActions_);
    layout()->addWidget(view_.get());
}
