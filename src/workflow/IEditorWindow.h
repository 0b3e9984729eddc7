#pragma once
// What the project dialogs ask of the main window. The program hands it to
// each dialog when it makes it, so that the dialogs need not know the editor.
#include <functional>
#include <string>

#include "model/Anchors.h"
#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"

namespace didad {

class IEditorWindow {
public:
    virtual ~IEditorWindow() = default;

    virtual ProjectModel& Model() = 0;
    virtual void OpenHelp() = 0;

    // The start dialog over the editor: shown, hidden behind, locked.
    virtual void ShowEditor() = 0;
    virtual void LockEditor(bool locked) = 0;
    virtual void ProjectActivated(bool opened) = 0;
    // The active project was written into another folder, which it keeps.
    virtual void ProjectMoved() = 0;
    virtual bool WriteFinalScript() = 0;

    // Writes the preview script and reloads the page; false after an error box.
    virtual bool UpdatePreview() = 0;
    // "Publish" in the main window, offered again by the finalize result.
    virtual void PublishProject() = 0;
    // Before a write the user asked for: an automatic save still running ends
    // first (a question box lets one start while it waits for the answer).
    virtual void WaitForRunningSave() = 0;
    // How the final script hands a caption that had to change back to the editor.
    virtual CaptionSwapCallback CaptionSwapHandler() = 0;

    // The settings' "anchor of all menus": the page tells where each menu
    // lies, then `placed` runs. The changes wait for one of the two below.
    // An element the page does not find changes nothing: `placed` gets the
    // reason, which is empty otherwise.
    virtual void ChangeAllAnchors(const Anchor& anchor, std::function<void(const std::string& problem)> placed) = 0;
    // Whether anchors can be chosen now: the preview lays the page out as
    // for editing, not at a phone's width.
    virtual bool AnchorsChosenHere() const = 0;
    // The settings were taken: one undo step for them and any anchor change.
    virtual void KeepSettingsChange(const ProjectSettings& previous) = 0;
    // The settings could not be shown: the anchors go back as they were.
    virtual void DropSettingsChange() = 0;
};

} // namespace didad
