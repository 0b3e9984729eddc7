#pragma once
// The preview's own URL scheme (see preview/LocalFileRule.h): serves the
// files the page may read from the project's origin and hands pictures and
// style sheets of other folders to the engine as local files, which keeps
// their content unreadable to the page. Requests pass the page's guard
// (QtLocalFileGuard) first.
#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include "preview/LocalFileRule.h"

namespace didad {

// Makes the scheme known to the engine; call before the first web view.
void RegisterPreviewScheme();

// The host of a project's origin: a keyed hash of its folder, the key made
// once a run, so the host stays the project's for the run and tells a page
// nothing of the folder's name.
QString PreviewHostOf(const QString& projectFolder);

class QtPreviewScheme : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // A new load of the preview of the project in `folder`, whose site
    // folder is `site` (empty when none is chosen).
    void BeginPreview(const QString& folder, const QString& site);
    const PreviewFolders& Folders() const { return folders_; }
    // "didad-preview://host" of the project shown, empty before the first load.
    QString Origin() const;
    // The URL of a local file in the preview's current load, and back: the
    // file a URL of the project's origin names (empty for any other URL).
    QUrl UrlOf(const QString& path) const;
    QString FileOf(const QUrl& url) const;
    // True, once, for the file URL this scheme sent a request on to.
    bool TakePass(const QUrl& fileUrl);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QUrl IssuePass(const QString& path);

    PreviewFolders folders_;
    QString host_;
    int load_ = 0; // of the whole run: the engine outlives a preview window
    // One-time keys of the file URLs sent on, with the file each names. The
    // guard and this handler both run on the main thread.
    QHash<QString, QString> passes_;
};

} // namespace didad
