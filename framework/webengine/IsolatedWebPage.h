#pragma once
// A web page that gets nothing of the local machine: no local files, no
// clipboard, no plugins, no devices or permissions, no downloads, no window
// of its own, no way to hand an address to another program. Pages may only
// be web pages (http, https).
#include "framework/WebEngineView.h"

#include <QWebEnginePage>
#include <functional>
#include <memory>

class QWebEngineProfile;

// A profile of its own that keeps nothing on disk.
std::unique_ptr<QWebEngineProfile> MakeIsolatedProfile();

class IsolatedWebPage : public QWebEnginePage {
public:
    explicit IsolatedWebPage(QWebEngineProfile* profile);

    // Told the target of each link to OwnLinkHost clicked in the program's own page.
    void OnOwnLinkClicked(std::function<void(const QString&)> handler) { ownLinkClicked_ = std::move(handler); }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    std::function<void(const QString&)> ownLinkClicked_;
};
