#include "preview/TfrmBrowser.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <QtGlobal>
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#endif

#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "preview/LocalFileRule.h"
#include "preview/QtLocalFileGuard.h"
#include "ui/QtAccessibility.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPublishedSites.h"
#include "ui/SettingsStore.h"

namespace didad {

TfrmBrowser* frmBrowser = nullptr;

TfrmBrowser::TfrmBrowser(const std::string& logFolder, IPreviewEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Preview - Didad 1.0"));
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildWidthChoice(layout);
    scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scroller"));
    scroller->setWidgetResizable(false);
    scroller->setFrameShape(QFrame::NoFrame);
    NameControl(scroller, QStringLiteral("Preview"));
    layout->addWidget(scroller);

    WebBrowser1 = new QWebEngineView();
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    NameControl(WebBrowser1, QStringLiteral("Preview page"));
    scroller->setWidget(WebBrowser1);
    localFileGuard_ = new QtLocalFileGuard(WebBrowser1->page());
    cBoxPreviewWidthChange(0);

    lblOutsideFiles = new QLabel(this);
    lblOutsideFiles->setObjectName(QStringLiteral("lblOutsideFiles"));
    lblOutsideFiles->setContentsMargins(4, 2, 4, 2);
    lblOutsideFiles->setTextFormat(Qt::RichText);
    lblOutsideFiles->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblOutsideFiles->setWordWrap(true);
    lblOutsideFiles->setForegroundRole(QPalette::PlaceholderText);
    // Named for what it is: a screen reader reads the line itself as its description.
    lblOutsideFiles->setAccessibleName(QStringLiteral("Files outside the project"));
    lblOutsideFiles->hide();
    layout->addWidget(lblOutsideFiles);
    connect(lblOutsideFiles, &QLabel::linkActivated, this, [this] { editor_.PublishProject(); });
    connect(localFileGuard_, &QtLocalFileGuard::outsideFilesChanged, this, &TfrmBrowser::ShowOutsideFiles);

    btnBackToPreview = new QPushButton(QStringLiteral("Back to Preview"), this);
    btnBackToPreview->setObjectName(QStringLiteral("btnBackToPreview"));
    btnBackToPreview->setGeometry(4, 3, 147, 29);
    btnBackToPreview->hide();

    log_ = std::make_unique<JsErrorLog>(logFolder.empty() ? std::string() : JoinPath(logFolder, "js.log"));

    connect(btnBackToPreview, &QPushButton::clicked, this, &TfrmBrowser::btnBackToPreviewClick);
    connect(WebBrowser1, &QWebEngineView::titleChanged, this, &TfrmBrowser::WebBrowser1TitleChange);
    connect(WebBrowser1, &QWebEngineView::loadFinished, this, &TfrmBrowser::WebBrowser1DocumentComplete);

    resize(454, 237);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // Moves and resizes are remembered once they settle.
    rememberPlace_ = new QTimer(this);
    rememberPlace_->setSingleShot(true);
    rememberPlace_->setInterval(400);
    connect(rememberPlace_, &QTimer::timeout, this, &TfrmBrowser::RememberPlace);
}

namespace {
constexpr const char* kPlaceKey = "PreviewWindow/geometry";

QSettings Store() {
    return QSettings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
}
} // namespace

void TfrmBrowser::PlaceWindow(const QRect& mainWindow) {
    if (placed_) return;
    placed_ = true;
    const QByteArray remembered = Store().value(QString::fromLatin1(kPlaceKey)).toByteArray();
    if (!remembered.isEmpty() && restoreGeometry(remembered)) return;
    const QScreen* screen = QGuiApplication::screenAt(mainWindow.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const ScreenRect place =
        FirstPreviewPlace({room.x(), room.y(), room.width(), room.height()},
                          {mainWindow.x(), mainWindow.y(), mainWindow.width(), mainWindow.height()}, width(), height());
    move(place.left, place.top);
}

void TfrmBrowser::RememberPlace() {
    if (placed_) Store().setValue(QString::fromLatin1(kPlaceKey), saveGeometry());
}

void TfrmBrowser::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (placed_ && isVisible()) rememberPlace_->start();
}

TfrmBrowser::~TfrmBrowser() {
    // A move the timer has not saved yet is not lost at the end.
    if (rememberPlace_ && rememberPlace_->isActive()) RememberPlace();
}

void TfrmBrowser::NavigateToPreviewPage(const QString& path) {
    // The preview page lies in the project folder, which with its site folder
    // bounds what the page may read.
    const QString folder = QFileInfo(path).absolutePath();
    const QString site = RememberedSite(ToBytes(folder)).value(0);
    WebBrowser1->load(localFileGuard_->BeginPreview(folder, site, path));
    navigation_.StartPreviewLoad();
}

void TfrmBrowser::ShowPreviewWindow() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TfrmBrowser::RunInPreview(const QString& statement) {
    // A javascript: navigation would replace the page when the statement
    // yields a string; running it in the page keeps the page.
    WebBrowser1->page()->runJavaScript(statement);
}

void TfrmBrowser::RevealRect(int left, int top, int breadth) {
    QScrollBar* across = scroller->horizontalScrollBar();
    QScrollBar* down = scroller->verticalScrollBar();
    const ScrollPosition next = RevealPosition({across->value(), down->value()}, frameGeometry().width(),
                                               frameGeometry().height(), left, top, breadth);
    across->setValue(next.horizontal); // the scroll bar keeps it within its range
    down->setValue(next.vertical);
}

void TfrmBrowser::HandleTitle(const QString& title) {
    // js.log names pages by the files the user knows.
    editor_.TakePageTitle(ToBytes(localFileGuard_->WithFileUrls(title)), PreviewPageShown(), *log_);
}

QUrl TfrmBrowser::PreviewUrlOf(const QString& path) const { return localFileGuard_->PreviewUrlOf(path); }

void TfrmBrowser::ShowOutsideFiles() {
    const QStringList& files = localFileGuard_->RefusedOutsideFiles();
    if (files.isEmpty()) {
        lblOutsideFiles->clear();
        lblOutsideFiles->hide();
        return;
    }
    std::vector<std::string> names;
    for (const QString& file : files) names.push_back(ToBytes(QFileInfo(file).fileName()));
    QString line = FromBytes(OutsideFilesLine(names)).toHtmlEscaped();
    const QString publish = QStringLiteral("Publish...");
    line.replace(line.lastIndexOf(publish), publish.size(), QStringLiteral("<a href=\"publish\">Publish...</a>"));
    lblOutsideFiles->setText(line);
    lblOutsideFiles->setAccessibleDescription(FromBytes(OutsideFilesLine(names)));
    lblOutsideFiles->setToolTip(files.join(QLatin1Char('\n')));
    lblOutsideFiles->show();
}

void TfrmBrowser::BuildWidthChoice(QVBoxLayout* layout) {
    auto* bar = new QHBoxLayout();
    bar->setContentsMargins(4, 2, 4, 2);
    // "Back to Preview" lies over the bar's left end.
    bar->addStretch();
    cBoxPreviewWidth = new QComboBox(this);
    cBoxPreviewWidth->setObjectName(QStringLiteral("cBoxPreviewWidth"));
    cBoxPreviewWidth->setToolTip(QStringLiteral("The width of the window the page is shown in"));
    for (const PreviewWidth& width : kPreviewWidths) cBoxPreviewWidth->addItem(QString::fromLatin1(width.label));
    auto* label = new QLabel(QStringLiteral("Page &width:"), this);
    label->setObjectName(QStringLiteral("lblPreviewWidth"));
    NameControl(cBoxPreviewWidth, QStringLiteral("Page width"), label);
    bar->addWidget(label);
    bar->addWidget(cBoxPreviewWidth);
    layout->addLayout(bar);
    connect(cBoxPreviewWidth, &QComboBox::activated, this, &TfrmBrowser::cBoxPreviewWidthChange);
}

void TfrmBrowser::cBoxPreviewWidthChange(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kPreviewWidths))) return;
    const PreviewWidth& width = kPreviewWidths[index];
    WebBrowser1->setFixedSize(width.width, kPreviewHeight);
    // Every document of the view learns the width's mode before its scripts run.
    QWebEngineScriptCollection& scripts = WebBrowser1->page()->scripts();
    static const QString kName = QStringLiteral("didad-preview-width");
    for (const QWebEngineScript& old : scripts.find(kName)) scripts.remove(old);
    QWebEngineScript script;
    script.setName(kName);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setSourceCode(QString::fromLatin1(PreviewWidthStatement(width)));
    scripts.insert(script);
    if (cBoxPreviewWidth->currentIndex() != index) cBoxPreviewWidth->setCurrentIndex(index);
    emit previewWidthChanged();
    if (WebBrowser1->url().isEmpty()) return;
    if (PreviewPageShown() && editor_.ReloadPreview()) return;
    if (PreviewPageShown()) navigation_.StartPreviewLoad();
    WebBrowser1->reload();
}

bool TfrmBrowser::ShowsEditingPage() const { return cBoxPreviewWidth->currentIndex() <= 0; }

void TfrmBrowser::btnBackToPreviewClick() { editor_.BackToPreview(); }

void TfrmBrowser::WebBrowser1TitleChange(const QString& title) { HandleTitle(title); }

void TfrmBrowser::WebBrowser1DocumentComplete(bool ok) {
    navigation_.DocumentComplete(ToBytes(WebBrowser1->url().toString()));
    if (navigation_.BackToPreviewShown()) {
        btnBackToPreview->show();
        btnBackToPreview->raise();
    } else {
        btnBackToPreview->hide();
    }
    emit documentCompleted(ok);
}

void TfrmBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (btnBackToPreview && btnBackToPreview->isVisible()) btnBackToPreview->move(0, 0);
    if (placed_ && isVisible() && rememberPlace_) rememberPlace_->start();
}

int WebEngineChromiumMajor() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    return ChromiumMajorFromVersion(qWebEngineChromiumVersion());
#else
    return ChromiumMajorFromUserAgent(ToBytes(QWebEngineProfile::defaultProfile()->httpUserAgent()));
#endif
}

void StartWebEngine() { QWebEngineProfile::defaultProfile(); }

bool CheckBrowserVersion(QWidget* parent) {
    if (EngineIsSupported(WebEngineChromiumMajor())) return true;
    QtMessageBoxes::Information(parent, QString::fromLatin1(kOldEngineCaption), QString::fromLatin1(kOldEngineText));
    return false;
}

} // namespace didad
