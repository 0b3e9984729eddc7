#include "preview/QtLocalFileGuard.h"

#include <QByteArray>
#include <QFileInfo>
#include <QHash>
#include <QHostAddress>
#include <QHostInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

#include "preview/AddressRule.h"
#include "preview/LocalFileRule.h"
#include "preview/QtPreviewScheme.h"
#include "ui/QtMessageBoxes.h"

#include <chrono>
#include <future>
#include <memory>

namespace didad {

namespace {

// Whether a name the page asks for resolves to an address of this machine
// or its network ("127.0.0.1.example" needs no DNS server of the user's).
// Each name is looked up once a run, off the main thread; a request waits
// for its name's answer briefly, and is refused when none came: a slow name
// server must not open the way. A name that resolves to nothing is asked
// again next time. The engine resolves the name again itself, so a name
// server that answers differently the second time is not caught.
class NameLookups {
public:
    bool Refuses(const QString& name) {
        std::shared_future<bool> answer;
        bool first = false;
        {
            const QMutexLocker lock(&mutex_);
            auto known = known_.find(name);
            if (known == known_.end()) {
                auto promise = std::make_shared<std::promise<bool>>();
                known = known_.insert(name, promise->get_future().share());
                first = true;
                QThreadPool::globalInstance()->start([this, name, promise] { Resolve(name, *promise); });
            }
            answer = known.value();
        }
        constexpr auto kFirstWait = std::chrono::milliseconds(1500);
        if (answer.wait_for(first ? kFirstWait : std::chrono::milliseconds(0)) != std::future_status::ready)
            return true;
        return answer.get();
    }

private:
    void Resolve(const QString& name, std::promise<bool>& promise) {
        const QList<QHostAddress> addresses = QHostInfo::fromName(name).addresses();
        bool local = false;
        for (const QHostAddress& address : addresses) local = local || IsLocalNetworkHost(ToBytes(address.toString()));
        if (addresses.isEmpty()) {
            const QMutexLocker lock(&mutex_);
            known_.remove(name);
        }
        promise.set_value(local);
    }

    QMutex mutex_;
    QHash<QString, std::shared_future<bool>> known_;
};

bool RefusedHost(const QString& host) {
    if (host.isEmpty()) return false;
    if (IsLocalNetworkHost(ToBytes(host))) return true;
    // Kept to the very end: a lookup may still be running when the program ends.
    static auto* lookups = new NameLookups;
    return QHostAddress(host).isNull() && lookups->Refuses(host);
}

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

// Every frame of the page loses WebRTC before its own scripts run, for good:
// the names cannot be given back, and a frame made later is a frame too.
// The engine's start switch keeps the connections from sending UDP besides.
const char kNoWebRtc[] = R"((function () {
  var names = ['RTCPeerConnection', 'webkitRTCPeerConnection', 'RTCDataChannel', 'RTCIceCandidate',
               'RTCSessionDescription', 'RTCRtpSender', 'RTCRtpReceiver', 'RTCRtpTransceiver'];
  for (var i = 0; i < names.length; i++) {
    try {
      Object.defineProperty(window, names[i], { value: undefined, writable: false, configurable: false });
    } catch (e) {}
  }
})();)";

} // namespace

QtLocalFileGuard::QtLocalFileGuard(QWebEnginePage* page) : QWebEngineUrlRequestInterceptor(page) {
    page->setUrlRequestInterceptor(this);
    // A texture made of a picture can be read back pixel by pixel, whatever
    // the canvas switch says; the preview's menus need no 3D drawing.
    page->settings()->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    page->settings()->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    QWebEngineScript noWebRtc;
    noWebRtc.setName(QStringLiteral("didad-no-webrtc"));
    noWebRtc.setInjectionPoint(QWebEngineScript::DocumentCreation);
    noWebRtc.setWorldId(QWebEngineScript::MainWorld);
    noWebRtc.setRunsOnSubFrames(true);
    noWebRtc.setSourceCode(QString::fromLatin1(kNoWebRtc));
    page->scripts().insert(noWebRtc);
    // The profile keeps one handler a scheme; a preview window made again
    // (the tests make several) takes the scheme over.
    scheme_ = new QtPreviewScheme(this);
    QWebEngineProfile* profile = page->profile();
    const QByteArray name(kPreviewScheme.data(), static_cast<int>(kPreviewScheme.size()));
    profile->removeUrlScheme(name);
    profile->installUrlSchemeHandler(name, scheme_);
}

QUrl QtLocalFileGuard::BeginPreview(const QString& folder, const QString& site, const QString& page) {
    scheme_->BeginPreview(folder, site);
    refusedOutside_.clear();
    emit outsideFilesChanged();
    return scheme_->UrlOf(page);
}

QUrl QtLocalFileGuard::PreviewUrlOf(const QString& path) const { return scheme_->UrlOf(path); }

QString QtLocalFileGuard::WithFileUrls(const QString& text) const {
    return FromBytes(didad::WithFileUrls(ToBytes(text), ToBytes(scheme_->Origin()), scheme_->Folders().project));
}

void QtLocalFileGuard::NoteRefusedOutside(const QString& path) {
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty() || refusedOutside_.contains(file)) return;
    refusedOutside_.append(file);
    emit outsideFilesChanged();
}

void QtLocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    const QString scheme = url.scheme();
    if (scheme == QLatin1String(kPreviewScheme.data(), static_cast<qsizetype>(kPreviewScheme.size()))) {
        // Another project's origin stays out of reach.
        if (scheme_->FileOf(url).isEmpty()) {
            info.block(true);
            return;
        }
    } else if (!url.isLocalFile()) {
        if (RefusedHost(url.host())) info.block(true);
        return;
    }
    const bool fileUrl = url.isLocalFile();
    const QString path = fileUrl ? url.toLocalFile() : scheme_->FileOf(url);
    if (path.isEmpty()) return;
    // The preview scheme sent this on itself, judged.
    if (fileUrl && scheme_->TakePass(url)) return;
    switch (StepForPreviewRequest(UseOf(info.resourceType()), fileUrl, ToBytes(path), scheme_->Folders())) {
    case PreviewRequestStep::Load: return;
    case PreviewRequestStep::Refuse: info.block(true); return;
    case PreviewRequestStep::RefuseOutside:
        info.block(true);
        NoteRefusedOutside(path);
        return;
    case PreviewRequestStep::ToPreviewScheme: info.redirect(scheme_->UrlOf(path)); return;
    case PreviewRequestStep::ToFileUrl: info.redirect(QUrl::fromLocalFile(path)); return;
    }
}

void PrepareEngineForPreview() {
    RegisterPreviewScheme();
    // A picture shown from anywhere must not be read back, neither through a
    // canvas nor as a video frame, and a shared worker's requests pass no
    // interceptor: the engine starts with canvas reading off and without
    // shared workers and video frames. WebRTC sends UDP that no interceptor
    // sees: only through a proxy, of which the preview has none.
    QByteArray switches = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray& each : {QByteArrayLiteral("--disable-reading-from-canvas"),
                                   QByteArrayLiteral("--disable-blink-features=SharedWorker,WebCodecs"),
                                   QByteArrayLiteral("--force-webrtc-ip-handling-policy=disable_non_proxied_udp")}) {
        if (switches.contains(each)) continue;
        if (!switches.isEmpty()) switches += ' ';
        switches += each;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", switches);
}

} // namespace didad
