// Project Settings... and Finalize of the main window.
#include "editor/TfrmMain.h"

#include "editor/EditorLogic.h"
#include "editor/QtAutoSave.h"
#include "model/Errors.h"
#include "ui/QtBusyCursor.h"
#include "ui/QtMessageBoxes.h"
#include "workflow/Finalize.h"
#include "workflow/TfrmFinilizedOK.h"
#include "workflow/TfrmProjectSettings.h"
#include "workflow/TfrmPublish.h"

namespace didad {

void TfrmMain::btnActiveProjectSettingsClick() {
    if (!model_.hasProject() || !windows_.projectSettings) return;
    // The dialog refreshes the preview itself when it stores new settings.
    RunModal(*windows_.projectSettings);
}

void TfrmMain::btnFinalizeClick() {
    if (!model_.hasProject()) return;
    autoSave_->BeforeUserWrite();
    try {
        BusyCursor busy;
        FinalizeProject(model_, logic_->CaptionSwapHandler());
    } catch (const PlatformError& error) {
        // The cursor is back to normal before the box; the result dialog
        // must not claim a finalize that did not happen.
        QtMessageBoxes::Error(this, FromBytes(error.what()));
        return;
    }
    autoSave_->AfterUserWrite(true);
    if (windows_.finilizedOK) RunModal(*windows_.finilizedOK);
}

void TfrmMain::btnPublishClick() {
    if (!model_.hasProject() || !windows_.publish) return;
    windows_.publish->Prepare();
    RunModal(*windows_.publish);
}

} // namespace didad
