#include "editor/QtMainWindowAccess.h"

#include <utility>

#include "editor/EditorLogic.h"
#include "editor/TfrmMain.h"
#include "preview/PreviewLogic.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

ProjectModel& QtMainWindowAccess::Model() { return main_.Model(); }

void QtMainWindowAccess::OpenHelp() { main_.OpenHelp(); }

IMessages& QtMainWindowAccess::Messages() { return main_.Messages(); }

void QtMainWindowAccess::InsertSnippet(const std::string& snippet) { main_.InsertSnippet(snippet); }

void QtMainWindowAccess::ShowEditor() { main_.show(); }

void QtMainWindowAccess::LockEditor(bool locked) {
    main_.setEnabled(!locked);
    main_.LockHelpButton(locked);
}

void QtMainWindowAccess::ProjectActivated(bool opened) { main_.ProjectActivated(opened); }

void QtMainWindowAccess::ProjectMoved() { main_.ProjectMoved(); }

bool QtMainWindowAccess::WriteFinalScript() { return main_.WriteFinalScript(); }

bool QtMainWindowAccess::UpdatePreview() { return main_.UpdatePreview(); }

void QtMainWindowAccess::PublishProject() { main_.btnPublishClick(); }

void QtMainWindowAccess::WaitForRunningSave() { main_.WaitForRunningSave(); }

CaptionSwapCallback QtMainWindowAccess::CaptionSwapHandler() { return main_.Logic().CaptionSwapHandler(); }

void QtMainWindowAccess::ChangeAllAnchors(const Anchor& anchor,
                                          std::function<void(const std::string& problem)> placed) {
    anchorChanges_.clear();
    main_.Logic().ChangeAllAnchors(
        anchor, [this, placed = std::move(placed)](std::vector<StepAction> changes, const std::string& problem) {
            anchorChanges_ = std::move(changes);
            placed(problem);
        });
}

bool QtMainWindowAccess::AnchorsChosenHere() const { return main_.AnchorsChosenHere(); }

void QtMainWindowAccess::KeepSettingsChange(const ProjectSettings& previous) {
    main_.Logic().SettingsConfirmed(previous, std::exchange(anchorChanges_, {}));
}

void QtMainWindowAccess::DropSettingsChange() {
    std::vector<StepAction> changes = std::exchange(anchorChanges_, {});
    main_.Logic().RevertActions(changes);
}

void QtMainWindowAccess::TakePageTitle(std::string_view title, bool previewPageShown, JsErrorLog& log) {
    RunUserAction(&main_, [&] { HandlePreviewTitle(title, previewPageShown, main_.Logic(), log); });
}

void QtMainWindowAccess::BackToPreview() { main_.btnUpdatePreviewClick(); }

bool QtMainWindowAccess::ReloadPreview() { return main_.UpdatePreview(); }

} // namespace didad
