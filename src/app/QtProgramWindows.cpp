#include "app/QtProgramWindows.h"

#include <QWebEngineView>

#include <memory>

#include "editor/QtMainWindowAccess.h"
#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"
#include "ui/QtAccessibility.h"
#include "workflow/QtUserFolders.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmPublish.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

namespace didad {

namespace {
// How the other windows reach the main window; lives as long as they do.
std::unique_ptr<QtMainWindowAccess> mainWindowAccess;
} // namespace

IEditorWindow& MainWindowAccess() { return *mainWindowAccess; }

void CreateProgramWindows() {
    mainWindowAccess = std::make_unique<QtMainWindowAccess>(*frmMain);
    frmBrowser = new TfrmBrowser(ProgramDataFolder(), *mainWindowAccess);
    // F6 between the editor and the preview; it goes with the preview window.
    new WindowSwitchKeys(frmMain, frmBrowser, frmBrowser->WebBrowser1);
    frmStart = new TfrmStart(*mainWindowAccess);
    frmSelFolder = new TfrmSelFolder(*mainWindowAccess);
    frmAddText = new TfrmAddText(*mainWindowAccess, frmMain);
    frmAddURL = new TfrmAddURL(*mainWindowAccess, frmMain);
    frmAddImage = new TfrmAddImage(*mainWindowAccess, frmMain);
    frmFinilizedOK = new TfrmFinilizedOK(*mainWindowAccess, frmMain);
    frmProjectSettings = new TfrmProjectSettings(*mainWindowAccess, frmMain);
    frmTemplateInfo = new TfrmTemplateInfo(*mainWindowAccess, frmMain);
    frmPublish = new TfrmPublish(*mainWindowAccess, frmMain);
    HandWindowsToMain();
}

void ShowStartWindows() {
    frmBrowser->show();
    frmMain->show();
    // Over the main window, which it disables until a project is chosen.
    frmStart->show();
}

void HandWindowsToMain() {
    frmMain->UseWindows({frmBrowser, frmStart, frmProjectSettings, frmFinilizedOK, frmPublish});
}

void DestroyProgramWindows() {
    delete frmSelFolder;
    frmSelFolder = nullptr;
    delete frmStart;
    frmStart = nullptr;
    delete frmBrowser;
    frmBrowser = nullptr;
    delete frmMain;
    frmMain = nullptr;
    // The dialogs went with the main window.
    frmAddText = nullptr;
    frmAddURL = nullptr;
    frmAddImage = nullptr;
    frmFinilizedOK = nullptr;
    frmProjectSettings = nullptr;
    frmTemplateInfo = nullptr;
    frmPublish = nullptr;
    mainWindowAccess.reset();
}

} // namespace didad
