// What the preview's page may read of the user's files: a project passed on
// by someone else runs its page here, in the real preview.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWebEngineView>

#include "GuiTestBase.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"

using namespace didad;
using namespace didad::testing;

namespace {

constexpr int kPageWait = 20000;

// The template of a project in <site>/proj: it shows a picture and a style
// sheet of the site above it, links to another page of the site, and tries
// every way a script has to read a file, outside the project and inside it.
// Each result is the file's text or "refused".
const char kProbePage[] = R"(<html><head>
<script src="Dirovidadaz.js"></script>
<link rel="stylesheet" href="../site.css">
</head><body>
<script>makeDidad();</script>
<img id="logo" src="../logo.png">
<a id="away" href="../elsewhere.html" style="position:absolute; left:300px; top:300px">Elsewhere</a>
<script>
var probe = {}, pending = 0;
function settle(name, promise) {
  pending++;
  promise.then(function (text) { probe[name] = text; }, function () { probe[name] = 'refused'; })
    .then(function () { if (--pending == 0) window.probeDone = true; });
}
function byXhr(url) {
  return new Promise(function (resolve, reject) {
    var request = new XMLHttpRequest();
    request.open('GET', url);
    request.onload = function () { resolve(request.responseText); };
    request.onerror = reject;
    request.send();
  });
}
function byFetch(url) { return fetch(url).then(function (response) { return response.text(); }); }
function byFrame(url) {
  return new Promise(function (resolve, reject) {
    var frame = document.createElement('iframe');
    frame.onload = function () {
      try { resolve(frame.contentDocument.body.textContent); } catch (e) { reject(e); }
    };
    frame.src = url;
    document.body.appendChild(frame);
  });
}
function byJsonModule(url) {
  return import(url, { assert: { type: 'json' } }).then(function (module) { return module.default.text; });
}
function loaded(picture) {
  return new Promise(function (resolve) {
    if (picture.complete) resolve(); else picture.addEventListener('load', resolve);
  });
}
function byCanvas(picture) {
  return loaded(picture).then(function () {
    var canvas = document.createElement('canvas');
    var context = canvas.getContext('2d');
    context.drawImage(picture, 0, 0);
    return String(context.getImageData(0, 0, 1, 1).data[0]);
  });
}
function byVideoFrame(picture) {
  return loaded(picture).then(function () {
    var frame = new VideoFrame(picture, { timestamp: 0 });
    var pixels = new Uint8Array(frame.allocationSize());
    return frame.copyTo(pixels).then(function () { return String(pixels[0]); });
  });
}
var outside = '../../private/secret.txt';
settle('xhrOutside', byXhr(outside));
settle('fetchOutside', byFetch(outside));
settle('frameOutside', byFrame(outside));
settle('linkOutside', byXhr('link.txt'));
settle('jsonOutside', byJsonModule('../../private/secret.json'));
settle('pictureOnCanvas', byCanvas(document.getElementById('logo')));
settle('pictureAsVideoFrame', byVideoFrame(document.getElementById('logo')));
probe.sharedWorker = typeof SharedWorker;
settle('xhrInside', byXhr('inside.txt'));
settle('fetchInside', byFetch('sub/../inside.txt'));
settle('frameInside', byFrame('inside.txt'));
</script></body></html>
)";

// A template made to steal: links in the project named as scripts lead to
// the user's secrets, an outside style sheet and an outside script that
// fails, and probes for whether any path exists. Each result is what the
// page learnt; FILE_SECRET and FILE_MISSING become absolute file URLs.
const char kLeakPage[] = R"(<html><head>
<script>
var leak = { errors: [] }, pending = 0;
window.addEventListener('error', function (e) { leak.errors.push(String(e.message)); });
function settle(name, promise) {
  pending++;
  promise.then(function (v) { leak[name] = String(v); }, function () { leak[name] = 'refused'; })
    .then(function () { if (--pending == 0) window.leakDone = true; });
}
function element(tag, attributes) {
  return new Promise(function (resolve) {
    var e = document.createElement(tag);
    for (var name in attributes) e.setAttribute(name, attributes[name]);
    e.onload = function () { resolve('loaded'); };
    e.onerror = function () { resolve('refused'); };
    document.head.appendChild(e);
  });
}
function fontProbe(href) { return element('link', { rel: 'preload', as: 'font', crossorigin: '', href: href }); }
</script>
<script src="Dirovidadaz.js"></script>
<link id="sheet" rel="stylesheet" href="../site.css">
<script src="../thrower.js"></script>
</head><body><script>
makeDidad();
settle('passwordAsScript', element('script', { src: 'a.js', charset: 'UTF-16LE' }));
settle('envAsScript', element('script', { src: 'm.js?x#y' }));
settle('jsonImport', import('./b.mjs', { assert: { type: 'json' } }).then(function (m) { return JSON.stringify(m.default); }));
settle('moduleImport', import('../thrower.js').then(function () { return 'imported'; }));
settle('sheetRules', new Promise(function (resolve) { resolve(document.getElementById('sheet').sheet.cssRules.length); }));
settle('fileOfOtherType', fontProbe('FILE_SECRET'));
settle('missingFile', fontProbe('FILE_MISSING'));
settle('pathOfOtherType', fontProbe('../../private/password.txt'));
settle('missingPath', fontProbe('../../private/none.woff'));
</script></body></html>
)";

} // namespace

class PreviewLocalFilesTest : public GuiTestBase {
    Q_OBJECT

    QString site_;
    QString project_;

    QString Probe(const char* name) {
        return EvalInPreview(QStringLiteral("probe.%1").arg(QLatin1String(name))).toString();
    }

private slots:
    void initTestCase() {
        CreateWindows();
        site_ = ProgramFolder() + QStringLiteral("/site");
        const QString privateFolder = ProgramFolder() + QStringLiteral("/private");
        QVERIFY(QDir().mkpath(site_) && QDir().mkpath(privateFolder));
        QVERIFY(WriteFile(privateFolder + QStringLiteral("/secret.txt"), "outside secret"));
        QVERIFY(WriteFile(privateFolder + QStringLiteral("/secret.json"), R"({"text": "outside secret"})"));
        QVERIFY(WriteFile(site_ + QStringLiteral("/site.css"), "body { background-color: rgb(1, 2, 3); }"));
        QImage logo(4, 4, QImage::Format_RGB32);
        logo.fill(QColor(200, 0, 0));
        QVERIFY(logo.save(site_ + QStringLiteral("/logo.png")));
        QVERIFY(WriteFile(site_ + QStringLiteral("/elsewhere.html"),
                          "<html><head><title>Elsewhere</title></head><body>elsewhere</body></html>"));

        const QString project = project_ = StartNewProject(QStringLiteral("site/proj"));
        QVERIFY(WaitForPreviewLoaded());
        QVERIFY(WriteFile(project + QStringLiteral("/Temp.html"), kProbePage));
        QVERIFY(WriteFile(project + QStringLiteral("/inside.txt"), "inside text"));
        QVERIFY(QFile::link(privateFolder + QStringLiteral("/secret.txt"), project + QStringLiteral("/link.txt")));
    }
    void cleanupTestCase() { DestroyWindows(); }
    void init() {
        ResetRecords();
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
    }

    void thePageReadsOnlyInsideItsProjectButShowsTheSitesPictureAndStyle() {
        QTRY_VERIFY_WITH_TIMEOUT(EvalInPreview(QStringLiteral("window.probeDone === true")).toBool(), kPageWait);
        for (const char* way : {"xhrOutside", "fetchOutside", "frameOutside", "linkOutside", "jsonOutside",
                                "pictureOnCanvas", "pictureAsVideoFrame"})
            QVERIFY2(Probe(way) == QStringLiteral("refused"), way);
        QCOMPARE(Probe("sharedWorker"), QStringLiteral("undefined"));
        for (const char* way : {"xhrInside", "frameInside"}) QVERIFY2(Probe(way) == QStringLiteral("inside text"), way);
            // The fetch API serves the program's own scheme from Qt 6.6 on.
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        QCOMPARE(Probe("fetchInside"), QStringLiteral("inside text"));
#else
        QCOMPARE(Probe("fetchInside"), QStringLiteral("refused"));
#endif

        QCOMPARE(EvalInPreview(QStringLiteral("document.getElementById('logo').naturalWidth")).toInt(), 4);
        QCOMPARE(EvalInPreview(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(),
                 QStringLiteral("rgb(1, 2, 3)"));
        // The project's own script still runs.
        QCOMPARE(EvalInPreview(QStringLiteral("typeof numOfMenus")).toString(), QStringLiteral("number"));
    }

    void aClickedLinkToAnotherLocalPageOpens() {
        const QVariantList box =
            EvalInPreview(QStringLiteral("(function(){var r=document.getElementById('away').getBoundingClientRect();"
                                         "return [r.left + 5, r.top + 5];})()"))
                .toList();
        QCOMPARE(box.size(), 2);
        QTest::mouseClick(frmBrowser->WebBrowser1->focusProxy(), Qt::LeftButton, {},
                          QPoint(box[0].toInt(), box[1].toInt()));
        QTRY_VERIFY_WITH_TIMEOUT(frmBrowser->btnBackToPreview->isVisible(), kPageWait);
        QCOMPARE(frmBrowser->WebBrowser1->url(), QUrl::fromLocalFile(site_ + QStringLiteral("/elsewhere.html")));
        QTRY_COMPARE_WITH_TIMEOUT(EvalInPreview(QStringLiteral("document.body.textContent")).toString(),
                                  QStringLiteral("elsewhere"), kPageWait);
    }

    void aProjectMadeToStealLearnsNothingOfTheUsersFiles() {
        const QString privateFolder = ProgramFolder() + QStringLiteral("/private");
        QVERIFY(WriteFile(privateFolder + QStringLiteral("/password.txt"), "my-password-is-swordfish-42"));
        QVERIFY(WriteFile(privateFolder + QStringLiteral("/.env"), "API_KEY=sk_live_4242"));
        QVERIFY(WriteFile(privateFolder + QStringLiteral("/keys.json"), R"({"key": "sk_live_4242"})"));
        QVERIFY(WriteFile(site_ + QStringLiteral("/thrower.js"), "window.outsideDefined = 7; sk_live_4242;"));
        QVERIFY(QFile::link(privateFolder + QStringLiteral("/password.txt"), project_ + QStringLiteral("/a.js")));
        QVERIFY(QFile::link(privateFolder + QStringLiteral("/.env"), project_ + QStringLiteral("/m.js")));
        QVERIFY(QFile::link(privateFolder + QStringLiteral("/keys.json"), project_ + QStringLiteral("/b.mjs")));
        QString page = QString::fromLatin1(kLeakPage);
        page.replace(QStringLiteral("FILE_SECRET"),
                     QUrl::fromLocalFile(privateFolder + QStringLiteral("/password.txt")).toString());
        page.replace(QStringLiteral("FILE_MISSING"),
                     QUrl::fromLocalFile(privateFolder + QStringLiteral("/none.woff")).toString());
        QVERIFY(WriteFile(project_ + QStringLiteral("/Temp.html"), page.toUtf8()));
        QTest::mouseClick(frmMain->btnUpdatePreview, Qt::LeftButton);
        QVERIFY(WaitForPreviewLoaded());
        QTRY_VERIFY_WITH_TIMEOUT(EvalInPreview(QStringLiteral("window.leakDone === true")).toBool(), kPageWait);
        const auto leak = [this](const char* name) {
            return EvalInPreview(QStringLiteral("leak.%1").arg(QLatin1String(name))).toString();
        };

        for (const char* way : {"passwordAsScript", "envAsScript", "jsonImport", "moduleImport", "sheetRules"})
            QVERIFY2(leak(way) == QStringLiteral("refused"), way);
        // Whether a path exists, whatever its type, stays unknown.
        QCOMPARE(leak("fileOfOtherType"), leak("missingFile"));
        QCOMPARE(leak("pathOfOtherType"), leak("missingPath"));
        // The outside script did not run, and the user is told of it.
        QCOMPARE(EvalInPreview(QStringLiteral("typeof window.outsideDefined")).toString(), QStringLiteral("undefined"));
        QCOMPARE(EvalInPreview(QStringLiteral("leak.errors")).toStringList(), QStringList());
        QTRY_VERIFY(frmBrowser->lblOutsideFiles->isVisible());
        QVERIFY2(frmBrowser->lblOutsideFiles->text().contains(QStringLiteral("thrower.js")),
                 qPrintable(frmBrowser->lblOutsideFiles->text()));
        QFile log(JsLogPath());
        if (log.open(QIODevice::ReadOnly)) QVERIFY(!log.readAll().contains("sk_live"));
        // The outside style sheet still dresses the page.
        QCOMPARE(EvalInPreview(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString(),
                 QStringLiteral("rgb(1, 2, 3)"));
    }
};

DIDAD_GUI_TEST_MAIN(PreviewLocalFilesTest)

#include "preview_local_files_test.moc"
