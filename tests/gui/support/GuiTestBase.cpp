#include "GuiTestBase.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/QtProgramWindows.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "model/ValueHelpers.h"
#include "preview/QtLivePreview.h"
#include "preview/TfrmBrowser.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

namespace didad::testing {

QTimer* WhenModal(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> step, bool closeAfter) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* const modal = QApplication::activeModalWidget();
        if (!modal || QApplication::activeWindow() != modal || !matches(modal)) return;
        timer->stop();
        timer->deleteLater();
        step(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); closeAfter && dialog && dialog->isVisible()) dialog->reject();
    });
    timer->start();
    return timer;
}

QTimer* WhenModal(QWidget* window, std::function<void()> step, bool closeAfter) {
    return WhenModal([window](QWidget* w) { return w == window; }, [step](QWidget*) { step(); }, closeAfter);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int RunGuiTest(int argc, char** argv, QObject& test) {
    QApplication::setApplicationName(QStringLiteral("Didad"));
    QApplication::setOrganizationName(QStringLiteral("Divero"));
    QApplication::setQuitOnLastWindowClosed(false);
    return QTest::qExec(&test, argc, argv);
}

void GuiTestBase::CreateWindows() {
    QStandardPaths::setTestModeEnabled(true);
    programDir_ = std::make_unique<QTemporaryDir>();
    homeDir_ = std::make_unique<QTemporaryDir>();
    settingsDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(programDir_->isValid() && homeDir_->isValid() && settingsDir_->isValid());
    // Test programs run side by side; each writes js.log and proposes
    // projects in a home of its own.
    qputenv("HOME", QFile::encodeName(homeDir_->path()));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_->path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_->path());

    QtMessageBoxes::SetHook([this](const BoxRequest& request) {
        boxes.append(request);
        if (request.kind != BoxRequest::Kind::Question) return true;
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    });
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");

    // The tests of the editor's own behaviour run with the preview following
    // Update Preview only; the live preview's tests switch it on.
    QSettings(QStringLiteral("Divero"), QStringLiteral("Didad"))
        .setValue(QString::fromLatin1(QtLivePreview::kSettingsKey), false);
    frmMain = new TfrmMain();
    // The program folder is where the executable lies; the tests put it in
    // a folder of their own so that Help/ stays out of the build.
    frmMain->Model().programFolder = ToBytes(QDir::toNativeSeparators(programDir_->path() + QLatin1Char('/')));
    QVERIFY(CheckBrowserVersion(frmMain));
    MakeProgramWindows();
    QVERIFY(QTest::qWaitForWindowExposed(frmMain));
}

void GuiTestBase::MakeProgramWindows() {
    // The start dialog is created, not shown: shown, it disables the main window.
    CreateProgramWindows();
    frmBrowser->show();
    frmMain->show();
}

void GuiTestBase::DestroyWindows() {
    QtMessageBoxes::SetHook({});
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    DestroyProgramWindows();
}

void GuiTestBase::ResetRecords() {
    boxes.clear();
    answers.clear();
    urls.opened.clear();
}

QString GuiTestBase::ProjectsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Didad Projects");
}

QString GuiTestBase::JsLogPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/js.log");
}

QStringList GuiTestBase::BoxTexts() const {
    QStringList texts;
    for (const BoxRequest& box : boxes) texts << box.text;
    return texts;
}

QString GuiTestBase::StartNewProject(const QString& name) {
    const QString folder = QDir(ProgramFolder()).filePath(name);
    ProjectModel& model = frmMain->Model();
    model.ResetForNewProject();
    model.entries.clear();
    model.iSelectedMenu = 0;
    model.projectFolder = ToBytes(QDir::toNativeSeparators(folder));
    frmMain->ProjectActivated(false);
    return folder;
}

QVariant GuiTestBase::EvalInPreview(const QString& script, int timeoutMs) {
    QVariant result;
    bool done = false;
    QEventLoop loop;
    frmBrowser->WebBrowser1->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
        loop.quit();
    });
    if (!done) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return result;
}

bool GuiTestBase::WaitForPreviewLoaded(int timeoutMs) {
    // The navigation flag is cleared by the document-complete of the load
    // the editor started.
    return QTest::qWaitFor([] { return !frmBrowser->Navigation().Navigating(); }, timeoutMs);
}

} // namespace didad::testing
