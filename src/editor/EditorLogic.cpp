#include "editor/EditorLogic.h"

#include "editor/ControlFilling.h"
#include "model/ValueHelpers.h"

namespace didad {

void EditorLogic::SetEditingEnabled(bool on) {
    view_.EnablePropertyControls(on);
    if (!on) {
        ControlFillingGuard filling;
        view_.ShowHtml(HtmlBox::Caption, kNoMenusText);
        view_.ShowHtml(HtmlBox::Menu, kNoMenusText);
    }
}

void EditorLogic::LoadEntryIntoControls(int index) {
    if (!IsEntry(index)) return;
    ControlFillingGuard filling;
    const MenuEntry& entry = model_.entries[static_cast<std::size_t>(index)];
    view_.HighlightListLine(index);
    view_.ShowNumber(NumberBox::Left, entry.MX);
    view_.ShowNumber(NumberBox::Top, entry.MY);
    view_.ShowNumber(NumberBox::Width, entry.MW);
    view_.ShowNumber(NumberBox::CapHeight, entry.MTCH);
    view_.ShowHtml(HtmlBox::Caption, entry.MTC);
    view_.ShowHtml(HtmlBox::Menu, entry.MTM);
    view_.ShowActivateOn(entry.MA);
    view_.ShowFloat(entry.FL == 1);
    view_.ShowHorizontal(entry.OO == 0);
    const struct {
        ColorSlot slot;
        const std::string& value;
    } colours[] = {{ColorSlot::Caption, entry.CC}, {ColorSlot::Menu, entry.CM}, {ColorSlot::Owner, entry.CO}};
    for (const auto& colour : colours) {
        if (colour.value == "transparent") {
            view_.ShowTransparent(colour.slot, true);
            continue;
        }
        // A colour string that does not parse (a hand-edited script) keeps
        // the swatch as it was rather than ending the load half way.
        try {
            view_.ShowSwatchColor(colour.slot, HtmlToColor(colour.value));
        } catch (const std::exception&) {
        }
        view_.ShowTransparent(colour.slot, false);
    }
}

void EditorLogic::SelectFromList() {
    const int line = view_.HighlightedListLine();
    if (line < 0 || !IsEntry(line)) return;
    model_.iSelectedMenu = line;
    LoadEntryIntoControls(line);
    view_.RunInPreview("ySetSel(" + std::to_string(line) + ",0)");
    view_.RevealInPreview(line);
}

void EditorLogic::ListMouseUp() {
    if (view_.HighlightedListLine() != model_.iSelectedMenu) SelectFromList();
}

bool EditorLogic::AddMenu() {
    if (model_.numOfMenus() >= kMaxMenus) {
        view_.ShowMessage(kTooManyMenus);
        return false;
    }
    SetEditingEnabled(true);
    const int index = model_.AddMenuEntry();
    if (index < 0) return false;
    view_.AppendListLine(MenuListLabel(index));
    LoadEntryIntoControls(index);
    if (!view_.UpdatePreview()) return true;
    view_.RevealInPreview(index);
    return true;
}

std::string EditorLogic::DeleteConfirmationText() const {
    return "        Delete " + MenuListLabel(model_.iSelectedMenu) + " ?";
}

void EditorLogic::DeleteMenu() {
    if (model_.numOfMenus() == 0) {
        view_.ShowMessage(kNothingToDelete);
        return;
    }
    if (!view_.ConfirmDelete(DeleteConfirmationText())) return;
    model_.RemoveMenuEntry();
    view_.RemoveLastListLine();
    if (model_.numOfMenus() > 0)
        LoadEntryIntoControls(model_.iSelectedMenu);
    else
        SetEditingEnabled(false);
    view_.UpdatePreview();
}

void EditorLogic::ShowProject() {
    view_.ClearList();
    for (int i = 0; i < model_.numOfMenus(); ++i) view_.AppendListLine(MenuListLabel(i));
    if (model_.numOfMenus() == 0) {
        SetEditingEnabled(false);
        return;
    }
    if (!IsEntry(model_.iSelectedMenu)) model_.iSelectedMenu = 0;
    SetEditingEnabled(true);
    LoadEntryIntoControls(model_.iSelectedMenu);
}

TitleCommand EditorLogic::HandleTitleCommand(std::string_view title) {
    const TitleCommand command = ParseTitleCommand(title);
    switch (command.kind) {
    case TitleCommand::Kind::Select:
        if (IsEntry(command.index)) {
            model_.iSelectedMenu = command.index;
            LoadEntryIntoControls(command.index);
        }
        break;
    case TitleCommand::Kind::Move:
        if (IsEntry(command.index)) {
            MoveEntryTo(command.index, command.x, command.y);
            model_.iSelectedMenu = command.index;
            LoadEntryIntoControls(command.index);
        }
        break;
    case TitleCommand::Kind::Error:
    case TitleCommand::Kind::None:
        break;
    }
    return command;
}

void EditorLogic::MoveEntryTo(int index, int x, int y) {
    if (!IsEntry(index)) return;
    MenuEntry& entry = model_.entries[static_cast<std::size_t>(index)];
    entry.MX = x;
    entry.MY = y;
}

} // namespace didad
