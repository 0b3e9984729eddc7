#pragma once
// The main window's rules over the project model and an abstract view:
// selection, add, delete, enabling, loading, and the editor side of the
// title channel.
#include <functional>
#include <string>
#include <string_view>

#include "editor/AnchorEdits.h"
#include "editor/EditHistory.h"
#include "editor/EditorView.h"
#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"
#include "preview/IPreviewEditor.h"

namespace didad {

inline constexpr const char* kNoMenusText = "No Menus in Project";
inline constexpr const char* kNothingToDelete = "Nothing to delete, sorry...";
inline constexpr const char* kTooManyMenus = "A project can hold at most 10000 menus.";

class EditorLogic : public ITitleCommandTarget {
public:
    EditorLogic(ProjectModel& model, EditorView& view, const EditClock& clock = DefaultClock())
        : model_(model), view_(view), clock_(clock) {}

    void SetEditingEnabled(bool on);
    // Puts entry `index` into the list highlight and the property controls.
    void LoadEntryIntoControls(int index);
    // Takes the highlighted list line as the selection and tells the preview.
    void SelectFromList();
    void ListMouseDown() { SelectFromList(); }
    // Only a drag across the list that ends on another line selects.
    void ListMouseUp();
    void ListKeyUp() { SelectFromList(); }

    // Add Menu. False when the project is full (nothing changes then).
    bool AddMenu();
    // Delete with confirmation.
    void DeleteMenu();
    // "        Delete Menu 3 ?" for the selected entry.
    std::string DeleteConfirmationText() const;

    // Refills the list after a project became active, loads the selected
    // entry or disables editing when there is none. The history starts over.
    void ShowProject();

    // The property controls, changed by the user: the rules of PropertyEdits
    // store the value, the history keeps the change. Each returns whether
    // Update Preview takes its pending look.
    bool EditNumber(NumberBox box, std::string_view text);
    bool EditActivateOn(int item);
    bool EditFloat(bool checked);
    bool EditOrientation(bool horizontalChecked);
    bool EditHtml(HtmlBox box, std::string_view boxText);
    bool EditColor(ColorSlot slot, Color chosen);
    bool EditTransparent(ColorSlot slot, bool checked, Color swatch);
    // The user left a box, or a snippet goes in: the next keystroke starts a step.
    void EndTypingRun() { history_.EndRun(); }
    // The user left a number box: it shows the value the entry holds, which
    // the rule may have limited or kept.
    void LeaveNumberBox(NumberBox box);
    // The user chose an anchor for the selected menu. The page is asked where
    // the old and the new anchor lie; once it answers (or cannot), the entry
    // takes the anchor in one step, Left and Top moved so that the menu
    // stays where the page shows it. A newer choice outdates an open one.
    // An element the page does not find is refused: the box says why, and
    // the menu keeps its anchor and its place.
    void ChangeAnchor(const Anchor& anchor);
    // The selector being typed: the page is asked whether it finds the
    // element, and the box says so. A newer text outdates an open question.
    void CheckSelector(const std::string& selector);
    // Every entry takes `anchor` the same way; `done` gets the changes made
    // (for the step of the settings dialog), once, later. An element the
    // page does not find changes nothing, and `done` gets the reason.
    void ChangeAllAnchors(const Anchor& anchor,
                          std::function<void(std::vector<StepAction>, const std::string& problem)> done);
    // Puts back what `actions` changed (a settings step that could not be written).
    void RevertActions(std::vector<StepAction>& actions);
    // Project Settings OK stored new settings; `previous` were the old ones,
    // `more` what else the dialog changed.
    void SettingsConfirmed(ProjectSettings previous, std::vector<StepAction> more = {});

    // Undo and Redo: the project goes back or forward one step and every
    // control shows it; nothing is written. False when there was no step.
    bool Undo();
    bool Redo();
    const EditHistory& History() const { return history_; }

    // What a script write is to be told: a caption exchanged by the write
    // becomes part of the last step and shows in the caption box when it is
    // the selected entry's.
    CaptionSwapCallback CaptionSwapHandler();
    void CaptionSwapped(int index, const std::string& newCaption);

    // Applies a select or moved command; returns the parsed command so that
    // the caller can log error commands. Throws ConversionError on a bad
    // number, having changed nothing.
    TitleCommand HandleTitleCommand(std::string_view title) override;
    void MoveEntryTo(int index, int x, int y);
    // Moves the selected menu by (dx, dy) pixels from the keyboard; a run of
    // such moves is one step. Returns whether Update Preview takes its look.
    bool NudgeSelected(int dx, int dy);

private:
    static const EditClock& DefaultClock();
    bool IsEntry(int index) const { return index >= 0 && index < model_.numOfMenus(); }
    // Runs a property rule on the selected entry's `field` and records what it
    // changed; `run` names the typing run that the change may join.
    template <class Rule>
    bool EditField(EntryField field, const EditRun* run, Rule&& rule);
    // Puts one field of entry `index` into its control (the caller holds the
    // control-filling flag).
    void ShowField(int index, EntryField field);
    void ShowColour(ColorSlot slot, const std::string& value);
    // The controls after an undo or redo: list lines, selection, values, look.
    void ShowStep(const StepOutcome& outcome, int linesBefore);
    void ShowChangedProject(int selection, int linesBefore);

    ProjectModel& model_;
    EditorView& view_;
    const EditClock& clock_;
    EditHistory history_;
    int anchorRequest_ = 0;   // the newest anchor choice waiting for the page
    int selectorRequest_ = 0; // the newest selector check waiting for the page
};

} // namespace didad
