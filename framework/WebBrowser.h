#pragma once
// The lyrics window's browser control over Qt WebEngine. The web engine
// (some hundred megabytes and several processes) is started only when the
// control is first shown; an address asked for before that, or while the
// control is hidden, is opened when it is shown. Hiding the control ends
// its page and the page's renderer process.
#include "framework/Controls.h"
#include "framework/Variant.h"

#include <QString>
#include <QUrl>
#include <memory>
#include <string>

class QLabel;
class QuickOwnPage;
class WebEngineView;

class TCppWebBrowser : public TWinControl {
    Q_OBJECT
public:
    // alClient: the control fills its window's client area and follows its size.
    enum TAlign { alNone, alClient };
    Q_ENUM(TAlign)

private:
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)

public:
    explicit TCppWebBrowser(QWidget* owner = nullptr);
    ~TCppWebBrowser() override;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // After the form layout has been read: takes the place its alignment gives.
    void Loaded();

    // Opens the address and returns at once; the page loads by itself, and
    // of two quick requests the later one is the page that stays. The four
    // optional arguments must be left out (missing or empty): anything else
    // is refused with E_INVALIDARG, as is an address that is not a web page.
    HRESULT Navigate(const std::u16string& url, const TVariant& flags, const TVariant& targetFrameName,
                     const TVariant& postData, const TVariant& headers);

    // Shows a page of the program's own, made of html alone (no script of
    // its own, nothing from elsewhere): a request like Navigate's, and the
    // later of the two is the page that stays.
    void ShowOwnPage(const QString& html);
    // Shows a page of the program's own in front of the page the latest
    // Navigate asked for, until that page has come; the next Navigate or
    // ShowOwnPage ends it too. Until the engine has a page on show (its
    // renderer takes a few hundred milliseconds to start), Qt draws the
    // page's text itself, unless the page is long.
    void ShowOwnPageMeanwhile(const QString& html);
    // Adds action to the end of the pages' context menu.
    void AddMenuAction(QAction* action);
    // Shows every page at this size (1.0: as made), now and after.
    void SetZoom(double zoom);
    // Runs script beside the program's own page once it has loaded; nothing
    // when another page is shown.
    void RunInOwnPage(const QString& script);

Q_SIGNALS:
    // Raised by Navigate for each address it takes, before the web engine
    // starts on it. A request overtaken at once by the next one may never
    // reach the network; this is where it can still be seen.
    void NavigateRequested(const QUrl& url);
    // The page of the latest Navigate cannot be had: its host was not found
    // or refused, answered with an HTTP status of 400 or more, or did not
    // answer within five seconds. Never raised for an earlier request.
    void NavigateFailed(const QUrl& url);
    // The user clicked a link of the program's own page to
    // "http://" OwnLinkHost "/target" (WebEngineView.h).
    void OwnLinkClicked(const QString& target);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateEngine();
    void FillParent();
    void OpenPending();
    void EndHiddenPage();
    void ShowQuickPage(const QString& html);
    void EndQuickPage();

    TAlign align_ = alNone;

    std::unique_ptr<WebEngineView> view_;
    // In the view's place when the web engine cannot be started.
    QLabel* failure_ = nullptr;
    // The program's own page as Qt's rich text, in front of the engine's
    // view until the engine shows a page.
    QuickOwnPage* quickPage_ = nullptr;
    // Waiting for the next show: an address as written, or an own page.
    QString pendingAddress_;
    QString pendingOwnPage_;
    QString pendingMeanwhile_;
    double zoom_ = 1.0;
    QList<QAction*> menuActions_;
};
