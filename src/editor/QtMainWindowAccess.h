#pragma once
// The main window as the dialogs and the preview window see it: what they
// ask of it, and nothing else of the editor.
#include <vector>

#include "editor/EditHistory.h"
#include "editor/ISnippetTarget.h"
#include "preview/IPreviewEditor.h"
#include "workflow/IEditorWindow.h"

namespace didad {

class TfrmMain;

class QtMainWindowAccess : public IEditorWindow, public IPreviewEditor, public ISnippetTarget {
public:
    explicit QtMainWindowAccess(TfrmMain& main) : main_(main) {}

    // IEditorWindow (and, with the two below, ISnippetTarget)
    ProjectModel& Model() override;
    void OpenHelp() override;
    void ShowEditor() override;
    void LockEditor(bool locked) override;
    void ProjectActivated(bool opened) override;
    void ProjectMoved() override;
    bool WriteFinalScript() override;
    bool UpdatePreview() override;
    void PublishProject() override;
    void WaitForRunningSave() override;
    CaptionSwapCallback CaptionSwapHandler() override;
    void ChangeAllAnchors(const Anchor& anchor, std::function<void(const std::string& problem)> placed) override;
    bool AnchorsChosenHere() const override;
    void KeepSettingsChange(const ProjectSettings& previous) override;
    void DropSettingsChange() override;

    // ISnippetTarget
    IMessages& Messages() override;
    void InsertSnippet(const std::string& snippet) override;

    // IPreviewEditor
    void TakePageTitle(std::string_view title, bool previewPageShown, JsErrorLog& log) override;
    void BackToPreview() override;
    bool ReloadPreview() override;

private:
    TfrmMain& main_;
    // The anchor changes of a settings dialog that is still to be confirmed.
    std::vector<StepAction> anchorChanges_;
};

} // namespace didad
