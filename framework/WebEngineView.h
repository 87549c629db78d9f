#pragma once
// The boundary between the browser control and the web engine module. The
// module (and with it Qt WebEngine and its OpenGL needs) is loaded only when
// a browser control is first shown, so a player that never shows one pays
// nothing for it.
#include <QUrl>
#include <QWidget>

// The only pages the control shows, from the player or from a page's links.
inline bool IsWebPageAddress(const QUrl& url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

// A web view made by the module: a child widget of the control.
class WebEngineView : public QWidget {
public:
    using QWidget::QWidget;
    virtual void Load(const QUrl& url) = 0;
};

// The module's one entry point, found by this name.
using CreateWebEngineViewFunction = WebEngineView* (*)(QWidget* parent);
inline constexpr char CreateWebEngineViewName[] = "KolviCreateWebEngineView";
