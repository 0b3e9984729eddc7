#pragma once
// Holds the preview's page to the rules of preview/LocalFileRule.h and
// preview/AddressRule.h: every local file the page (or a frame or worker of
// it) asks for, by a file URL or the preview scheme's, is judged by the file
// it reaches before it loads, and the preview scheme (QtPreviewScheme) then
// serves it; no request reaches this machine or its local network, and the
// page has no WebRTC. What the page may show but not read (pictures from
// anywhere) is kept from being read back by the page's settings and the
// engine's start switches.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

class QWebEnginePage;

namespace didad {

class QtPreviewScheme;

class QtLocalFileGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    // Guards `page` for as long as the page lives, and serves the preview
    // scheme to it.
    explicit QtLocalFileGuard(QWebEnginePage* page);

    // A new load of the preview of the project in `folder`, whose site
    // folder is `site` (empty when none is chosen); the URL to load a page
    // of it at.
    QUrl BeginPreview(const QString& folder, const QString& site, const QString& page);
    // The files outside the project and its site folder that the page asked
    // to read or run since the load began, in the order asked.
    const QStringList& RefusedOutsideFiles() const { return refusedOutside_; }
    // The preview URL of a local file in the current load.
    QUrl PreviewUrlOf(const QString& path) const;
    // A line of the page's with its URLs written as the files they name.
    QString WithFileUrls(const QString& text) const;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

signals:
    // An outside file was refused that the page had not asked for before.
    void outsideFilesChanged();

private:
    void NoteRefusedOutside(const QString& path);

    QtPreviewScheme* scheme_ = nullptr;
    QStringList refusedOutside_;
};

// What the web engine must start with for the rules to hold: the preview
// scheme and the switches added to QTWEBENGINE_CHROMIUM_FLAGS. Call before
// the QApplication is made.
void PrepareEngineForPreview();

} // namespace didad
