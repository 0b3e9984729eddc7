#pragma once
// The main window's rules over the project model and an abstract view:
// selection, add, delete, enabling, loading, and the editor side of the
// title channel.
#include <string>
#include <string_view>

#include "editor/EditorView.h"
#include "model/ProjectModel.h"
#include "preview/TitleCommand.h"

namespace didad {

inline constexpr const char* kNoMenusText = "No Menus in Project";
inline constexpr const char* kNothingToDelete = "Nothing to delete, sorry...";
inline constexpr const char* kTooManyMenus = "A project can hold at most 10000 menus.";

class EditorLogic {
public:
    EditorLogic(ProjectModel& model, EditorView& view) : model_(model), view_(view) {}

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
    // entry or disables editing when there is none.
    void ShowProject();

    // Applies a select or moved command; returns the parsed command so that
    // the caller can log error commands. Throws ConversionError on a bad
    // number, having changed nothing.
    TitleCommand HandleTitleCommand(std::string_view title);
    void MoveEntryTo(int index, int x, int y);

private:
    bool IsEntry(int index) const { return index >= 0 && index < model_.numOfMenus(); }

    ProjectModel& model_;
    EditorView& view_;
};

} // namespace didad
