#include "preview/QtPreviewScheme.h"

#include <QByteArray>
#include <QFile>
#include <QUuid>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QtGlobal>

#include "preview/LocalFileRule.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

namespace {

QByteArray SchemeName() { return QByteArray(kPreviewScheme.data(), static_cast<int>(kPreviewScheme.size())); }

int loadsOfTheRun = 0;

// Passes the page never used (a load cancelled on the way) are let go.
constexpr int kMaxPasses = 1000;

} // namespace

void RegisterPreviewScheme() {
    if (!QWebEngineUrlScheme::schemeByName(SchemeName()).name().isEmpty()) return;
    QWebEngineUrlScheme scheme(SchemeName());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::HostAndPort);
    scheme.setDefaultPort(kPreviewDefaultPort);
    // Local: the page may show and run local files, which the engine keeps
    // unreadable to another origin, and links to local pages still open.
    QWebEngineUrlScheme::Flags flags = QWebEngineUrlScheme::LocalScheme;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    flags |= QWebEngineUrlScheme::FetchApiAllowed;
#endif
    scheme.setFlags(flags);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewUrlOfFile(const QString& path, int load) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setScheme(QString::fromLatin1(SchemeName()));
    url.setHost(QString::fromLatin1(kPreviewHost.data(), static_cast<int>(kPreviewHost.size())));
    url.setPort(PreviewPort(load));
    return url;
}

QString FileOfPreviewUrl(const QUrl& url) {
    if (url.scheme() != QLatin1String(SchemeName()) || ToBytes(url.host()) != kPreviewHost) return {};
    QUrl file = url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
    file.setScheme(QStringLiteral("file"));
    file.setHost(QString());
    return file.toLocalFile();
}

void QtPreviewScheme::BeginPreview(const QString& folder) {
    projectFolder_ = folder;
    load_ = ++loadsOfTheRun;
    passes_.clear();
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
    const QString path = FileOfPreviewUrl(job->requestUrl());
    // The engine names the page's origin on a request that asks to read the
    // answer from another origin (module imports, fonts, crossorigin
    // elements); XMLHttpRequest, which may not, is refused every file
    // outside before it gets here.
    const bool corsRequest = job->requestHeaders().contains(QByteArrayLiteral("Origin"));
    const PreviewServe answer = StepForPreviewServe(ToBytes(path), ToBytes(projectFolder_), corsRequest);
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
