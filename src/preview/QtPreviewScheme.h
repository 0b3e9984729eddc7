#pragma once
// The preview's own URL scheme (see preview/LocalFileRule.h): serves the
// files of the project folder as one origin and hands every other file to
// the engine as a local file, which keeps its content unreadable to the
// page. Requests pass the page's guard (QtLocalFileGuard) first.
#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace didad {

// Makes the scheme known to the engine; call before the first web view.
void RegisterPreviewScheme();

// The preview scheme's URL of a local file in preview load `load`, and back:
// the file a preview scheme URL names (empty for any other URL).
QUrl PreviewUrlOfFile(const QString& path, int load = 0);
QString FileOfPreviewUrl(const QUrl& url);

class QtPreviewScheme : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // A new load of the preview of the project in `folder`.
    void BeginPreview(const QString& folder);
    const QString& ProjectFolder() const { return projectFolder_; }
    // The URL of a local file in the preview's current load.
    QUrl UrlOf(const QString& path) const { return PreviewUrlOfFile(path, load_); }
    // True, once, for the file URL this scheme sent a request on to.
    bool TakePass(const QUrl& fileUrl);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QUrl IssuePass(const QString& path);

    QString projectFolder_;
    int load_ = 0; // of the whole run: the engine outlives a preview window
    // One-time keys of the file URLs sent on, with the file each names. The
    // guard and this handler both run on the main thread.
    QHash<QString, QString> passes_;
};

} // namespace didad
