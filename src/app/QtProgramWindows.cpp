#include "app/QtProgramWindows.h"

#include "editor/TfrmAddImage.h"
#include "editor/TfrmAddText.h"
#include "editor/TfrmAddURL.h"
#include "editor/TfrmMain.h"
#include "preview/TfrmBrowser.h"
#include "workflow/QtUserFolders.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmPublish.h"
#include "workflow/TfrmSelFolder.h"
#include "workflow/TfrmStart.h"
#include "workflow/TfrmTemplateInfo.h"

namespace didad {

void CreateProgramWindows() {
    frmBrowser = new TfrmBrowser(ProgramDataFolder());
    frmStart = new TfrmStart();
    frmSelFolder = new TfrmSelFolder();
    frmAddText = new TfrmAddText(frmMain);
    frmAddURL = new TfrmAddURL(frmMain);
    frmAddImage = new TfrmAddImage(frmMain);
    frmFinilizedOK = new TfrmFinilizedOK(frmMain);
    frmProjectSettings = new TfrmProjectSettings(frmMain);
    frmTemplateInfo = new TfrmTemplateInfo(frmMain);
    frmPublish = new TfrmPublish(frmMain);
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
}

} // namespace didad
