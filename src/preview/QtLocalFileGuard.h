#pragma once
// Holds the preview's page to the rule of preview/LocalFileRule.h: every
// local file the page (or a frame or worker of it) asks for, by a file URL
// or the preview scheme's, is judged by the file it reaches before it loads;
// the preview scheme (QtPreviewScheme) then serves it. Requests to the
// network are not touched. What the page may show but not read (pictures
// from anywhere) is kept from being read back by the page's settings and the
// engine's start switches.
#include <QString>
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

    // A new load of the preview of the project in `folder`; the URL to load
    // a page of it at.
    QUrl BeginPreview(const QString& folder, const QString& page);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QtPreviewScheme* scheme_ = nullptr;
};

// What the web engine must start with for the rule to hold: the preview
// scheme and the switches added to QTWEBENGINE_CHROMIUM_FLAGS. Call before
// the QApplication is made.
void PrepareEngineForPreview();

} // namespace didad
