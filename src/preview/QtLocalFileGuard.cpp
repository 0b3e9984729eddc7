#include "preview/QtLocalFileGuard.h"

#include <QByteArray>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

#include "preview/LocalFileRule.h"
#include "preview/QtPreviewScheme.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

namespace {

LocalFileUse UseOf(QWebEngineUrlRequestInfo::ResourceType type) {
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame: return LocalFileUse::MainFrame;
    case QWebEngineUrlRequestInfo::ResourceTypeImage: return LocalFileUse::Image;
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon: return LocalFileUse::Favicon;
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource: return LocalFileUse::Font;
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet: return LocalFileUse::Stylesheet;
    case QWebEngineUrlRequestInfo::ResourceTypeScript: return LocalFileUse::Script;
    default: return LocalFileUse::Other;
    }
}

} // namespace

QtLocalFileGuard::QtLocalFileGuard(QWebEnginePage* page) : QWebEngineUrlRequestInterceptor(page) {
    page->setUrlRequestInterceptor(this);
    // A texture made of a picture can be read back pixel by pixel, whatever
    // the canvas switch says; the preview's menus need no 3D drawing.
    page->settings()->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    // The profile keeps one handler a scheme; a preview window made again
    // (the tests make several) takes the scheme over.
    scheme_ = new QtPreviewScheme(this);
    QWebEngineProfile* profile = page->profile();
    const QByteArray name(kPreviewScheme.data(), static_cast<int>(kPreviewScheme.size()));
    profile->removeUrlScheme(name);
    profile->installUrlSchemeHandler(name, scheme_);
}

QUrl QtLocalFileGuard::BeginPreview(const QString& folder, const QString& page) {
    scheme_->BeginPreview(folder);
    return scheme_->UrlOf(page);
}

void QtLocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    const bool fileUrl = url.isLocalFile();
    const QString path = fileUrl ? url.toLocalFile() : FileOfPreviewUrl(url);
    if (path.isEmpty()) return;
    // The preview scheme sent this on itself, judged.
    if (fileUrl && scheme_->TakePass(url)) return;
    switch (
        StepForPreviewRequest(UseOf(info.resourceType()), fileUrl, ToBytes(path), ToBytes(scheme_->ProjectFolder()))) {
    case PreviewRequestStep::Load: return;
    case PreviewRequestStep::Refuse: info.block(true); return;
    case PreviewRequestStep::ToPreviewScheme: info.redirect(scheme_->UrlOf(path)); return;
    case PreviewRequestStep::ToFileUrl: info.redirect(QUrl::fromLocalFile(path)); return;
    }
}

void PrepareEngineForPreview() {
    RegisterPreviewScheme();
    // A picture shown from anywhere must not be read back, neither through a
    // canvas nor as a video frame, and a shared worker's requests pass no
    // interceptor: the engine starts with canvas reading off and without
    // shared workers and video frames.
    QByteArray switches = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray& each : {QByteArrayLiteral("--disable-reading-from-canvas"),
                                   QByteArrayLiteral("--disable-blink-features=SharedWorker,WebCodecs")}) {
        if (switches.contains(each)) continue;
        if (!switches.isEmpty()) switches += ' ';
        switches += each;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", switches);
}

} // namespace didad
