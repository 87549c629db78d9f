#pragma once
// The boundary between the browser control and the web engine module. The
// module (and with it Qt WebEngine and its OpenGL needs) is loaded only when
// a browser control is first shown, so a player that never shows one pays
// nothing for it.
#include <QAction>
#include <QList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

// The only pages the control shows, from the player or from a page's links.
inline bool IsWebPageAddress(const QUrl& url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

// The program's own pages link here ("http://" OwnLinkHost "/target") for
// what a click asks of the program; the name is one that never resolves.
inline constexpr char OwnLinkHost[] = "own.kolvi.invalid";

// The target of a link to OwnLinkHost; nothing for any other link.
inline std::optional<QString> OwnLinkTarget(const QUrl& link)
{
    if (link.host() != QLatin1String(OwnLinkHost))
        return std::nullopt;
    return link.path().mid(1);
}

// A web view made by the module: a child widget of the control.
class WebEngineView : public QWidget {
public:
    using QWidget::QWidget;
    // Opens a web page at address, sent exactly as written: the escapes of
    // its query keep their case and their bytes.
    virtual void Load(const QString& address) = 0;
    // Shows a page of the program's own, made of html alone.
    virtual void ShowOwnPage(const QString& html) = 0;
    // Shows a page of the program's own in front of the web page the latest
    // Load asked for, until that page has come; the next Load, ShowOwnPage
    // or EndPage ends it too.
    virtual void ShowOwnPageMeanwhile(const QString& html) = 0;
    // Runs script beside the program's own pages (in a world of their own)
    // once they have loaded; the latest script is run again whenever one
    // has. Other pages never see it.
    virtual void RunInOwnPage(const QString& script) = 0;
    // Actions added to the end of the pages' context menu.
    virtual void SetMenuActions(const QList<QAction*>& actions) = 0;
    // Shows every page at this size (1.0: as made).
    virtual void SetZoom(double zoom) = 0;
    // Ends the page shown and its renderer process; the view stays, and
    // the next page starts a new one.
    virtual void EndPage() = 0;

    // Called with the address of the latest Load when its page cannot be
    // had: the host not found or refusing, an HTTP status of 400 or more,
    // or no answer in HostAnswerLimitMs.
    void OnPageUnavailable(std::function<void(const QUrl&)> handler) { pageUnavailable_ = std::move(handler); }

    // Called with the part after "/" of a link to OwnLinkHost the user
    // clicked in a page of the program's own; such a link goes nowhere.
    void OnOwnLinkClicked(std::function<void(const QString&)> handler) { ownLinkClicked_ = std::move(handler); }

    // Called when the engine has a page on show: a page of the program's
    // own (meanwhile or not) has loaded, or the web page asked for has come.
    void OnPageShown(std::function<void()> handler) { pageShown_ = std::move(handler); }

    static constexpr int HostAnswerLimitMs = 5000;

protected:
    void ReportPageUnavailable(const QUrl& address)
    {
        if (pageUnavailable_)
            pageUnavailable_(address);
    }

    void ReportOwnLinkClicked(const QString& target)
    {
        if (ownLinkClicked_)
            ownLinkClicked_(target);
    }

    void ReportPageShown()
    {
        if (pageShown_)
            pageShown_();
    }

private:
    std::function<void(const QUrl&)> pageUnavailable_;
    std::function<void(const QString&)> ownLinkClicked_;
    std::function<void()> pageShown_;
};

// The module's one entry point, found by this name.
using CreateWebEngineViewFunction = WebEngineView* (*)(QWidget* parent);
inline constexpr char CreateWebEngineViewName[] = "KolviCreateWebEngineView";
