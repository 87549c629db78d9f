#pragma once
// The browser control's view: an isolated page in a profile of its own,
// shown by a QWebEngineView that fills the widget.
#include "WebEngineView.h"

#include <memory>

class IsolatedWebPage;
class QWebEngineProfile;
class QWebEngineView;

class IsolatedWebView : public WebEngineView {
public:
    explicit IsolatedWebView(QWidget* parent);
    ~IsolatedWebView() override;

    void Load(const QUrl& url) override;

private:
    // Declared in the order of creation: the view goes first, then its page,
    // and the profile last, as the web engine requires.
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<IsolatedWebPage> page_;
    std::unique_ptr<QWebEngineView> view_;
};
