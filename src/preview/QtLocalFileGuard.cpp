#include "preview/QtLocalFileGuard.h"

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>

#include "preview/LocalFileRule.h"
#include "workflow/QtMessageBoxes.h"

namespace didad {

namespace {

LocalFileUse UseOf(QWebEngineUrlRequestInfo::ResourceType type) {
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        return LocalFileUse::MainFrame;
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
        return LocalFileUse::Image;
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return LocalFileUse::Favicon;
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
        return LocalFileUse::Font;
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        return LocalFileUse::Stylesheet;
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
        return LocalFileUse::Script;
    default:
        return LocalFileUse::Other;
    }
}

} // namespace

void QtLocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    if (!url.isLocalFile()) return;
    if (!MayLoadLocalFile(UseOf(info.resourceType()), ToBytes(url.toLocalFile()), ToBytes(projectFolder_)))
        info.block(true);
}

void AddLocalFileGuardSwitches() {
    // A picture shown from anywhere must not be read back through a canvas,
    // and a shared worker's requests pass no interceptor: the engine is
    // started with canvas reading off and without shared workers.
    QByteArray switches = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray& each :
         {QByteArrayLiteral("--disable-reading-from-canvas"), QByteArrayLiteral("--disable-blink-features=SharedWorker")}) {
        if (switches.contains(each)) continue;
        if (!switches.isEmpty()) switches += ' ';
        switches += each;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", switches);
}

} // namespace didad
