#include "preview/QtPreviewScheme.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QUuid>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QtGlobal>

#include "model/PathRules.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

namespace {

QByteArray SchemeName() { return QByteArray(kPreviewScheme.data(), static_cast<int>(kPreviewScheme.size())); }

int loadsOfTheRun = 0;

// Passes the page never used (a load cancelled on the way) are let go.
constexpr int kMaxPasses = 1000;

const QByteArray& KeyOfTheRun() {
    static const QByteArray key = [] {
        QByteArray bytes(32, '\0');
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        return bytes;
    }();
    return key;
}

} // namespace

void RegisterPreviewScheme() {
    if (!QWebEngineUrlScheme::schemeByName(SchemeName()).name().isEmpty()) return;
    QWebEngineUrlScheme scheme(SchemeName());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Local: the page may show local pictures and style sheets, which the
    // engine keeps unreadable to another origin, and links to local pages
    // still open.
    QWebEngineUrlScheme::Flags flags = QWebEngineUrlScheme::LocalScheme;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    flags |= QWebEngineUrlScheme::FetchApiAllowed;
#endif
    scheme.setFlags(flags);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QString PreviewHostOf(const QString& projectFolder) {
    const std::string folder = ResolvedPath(ToBytes(projectFolder)).string();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(KeyOfTheRun());
    hash.addData(QByteArray::fromStdString(folder));
    return QStringLiteral("p") + QString::fromLatin1(hash.result().left(10).toHex());
}

void QtPreviewScheme::BeginPreview(const QString& folder, const QString& site) {
    folders_ = {ToBytes(folder), ToBytes(site)};
    host_ = PreviewHostOf(folder);
    load_ = ++loadsOfTheRun;
    passes_.clear();
}

QString QtPreviewScheme::Origin() const {
    return host_.isEmpty() ? QString() : QString::fromLatin1(SchemeName()) + QStringLiteral("://") + host_;
}

QUrl QtPreviewScheme::UrlOf(const QString& path) const {
    QUrl url;
    url.setScheme(QString::fromLatin1(SchemeName()));
    url.setHost(host_);
    url.setPath(FromBytes(PreviewUrlPath(ToBytes(path), folders_.project, load_)));
    return url;
}

QString QtPreviewScheme::FileOf(const QUrl& url) const {
    if (host_.isEmpty() || url.scheme() != QLatin1String(SchemeName()) || url.host() != host_ || url.port() != -1)
        return {};
    return FromBytes(FileOfPreviewUrlPath(ToBytes(url.path(QUrl::FullyDecoded)), folders_.project));
}

QUrl QtPreviewScheme::IssuePass(const QString& path) {
    if (passes_.size() >= kMaxPasses) passes_.clear();
    const QString key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    passes_.insert(key, path);
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(key);
    return url;
}

bool QtPreviewScheme::TakePass(const QUrl& fileUrl) {
    const auto pass = passes_.constFind(fileUrl.query());
    if (pass == passes_.cend()) return false;
    const bool same = pass.value() == fileUrl.toLocalFile();
    passes_.erase(pass);
    return same;
}

void QtPreviewScheme::requestStarted(QWebEngineUrlRequestJob* job) {
    const QString path = FileOf(job->requestUrl());
    if (path.isEmpty()) {
        // Another project's origin, or an address of none.
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The engine names the page's origin on a request that asks to read the
    // answer from another origin (module imports, fonts, crossorigin
    // elements); XMLHttpRequest, which may not, is refused every file
    // outside before it gets here.
    const bool corsRequest = job->requestHeaders().contains(QByteArrayLiteral("Origin"));
    const PreviewServe answer = StepForPreviewServe(ToBytes(path), folders_, corsRequest);
    switch (answer.step) {
    case PreviewServeStep::NotFound: job->fail(QWebEngineUrlRequestJob::UrlNotFound); return;
    case PreviewServeStep::AsFileUrl: job->redirect(IssuePass(FromBytes(answer.file))); return;
    case PreviewServeStep::Serve: break;
    }
    auto* file = new QFile(FromBytes(answer.file), job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(QByteArray::fromStdString(ContentTypeOfLocalFile(answer.file)), file);
}

} // namespace didad
