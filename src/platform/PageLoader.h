#pragma once
// Loads a web page for a window without blocking it, as the embedded browser control did: it
// reports when a download begins and when it is complete, and then offers the document's
// elements in document order with their inner texts (see HtmlElements).

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <memory>

class PageLoader : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts loading url; a load still under way is dropped.
    virtual void navigate(const QUrl& url) = 0;
    // The inner texts of the last loaded document's elements (empty after a failure).
    virtual QStringList elementTexts() const = 0;
    // Why the last load failed: no connection, an error status, the time-out; empty when it loaded.
    virtual QString error() const = 0;

signals:
    void downloadBegin();
    // Every load ends with this, loaded or failed.
    void downloadComplete();
};

namespace Pages {
// The loader the windows use: over the network.
std::unique_ptr<PageLoader> makeLoader();
// The web servers the windows ask. A page's address is the server's base plus its path; the
// environment variables ZELMOR_DXSPOT_SERVER and ZELMOR_CALLSIGN_SERVER put others in their place.
QString dxSpotServer();
QString callSignServer();
// A load that has not ended after this many milliseconds fails (ZELMOR_PAGE_TIMEOUT_MS, default 20 s).
int transferTimeoutMs();
} // namespace Pages
