#include "editor/EditorLogic.h"

#include <algorithm>
#include <vector>

#include "editor/ControlFilling.h"
#include "editor/PropertyEdits.h"
#include "model/ValueHelpers.h"

namespace didad {
namespace {

EntryField FieldOfBox(NumberBox box) {
    switch (box) {
    case NumberBox::Left: return EntryField::MX;
    case NumberBox::Top: return EntryField::MY;
    case NumberBox::Width: return EntryField::MW;
    case NumberBox::CapHeight: break;
    }
    return EntryField::MTCH;
}

EntryField FieldOfBox(HtmlBox box) { return box == HtmlBox::Caption ? EntryField::MTC : EntryField::MTM; }

EntryField FieldOfSlot(ColorSlot slot) {
    switch (slot) {
    case ColorSlot::Caption: return EntryField::CC;
    case ColorSlot::Menu: return EntryField::CM;
    case ColorSlot::Owner: break;
    }
    return EntryField::CO;
}

} // namespace

const EditClock& EditorLogic::DefaultClock() {
    static const SteadyEditClock clock;
    return clock;
}

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
    view_.HighlightListLine(index);
    // The order in which the controls are filled.
    static constexpr EntryField kShownFields[] = {EntryField::MX,  EntryField::MY,  EntryField::MW, EntryField::MTCH,
                                                  EntryField::MTC, EntryField::MTM, EntryField::MA, EntryField::FL,
                                                  EntryField::OO,  EntryField::CC,  EntryField::CM, EntryField::CO,
                                                  EntryField::AN};
    for (EntryField field : kShownFields) ShowField(index, field);
}

void EditorLogic::ShowField(int index, EntryField field) {
    const MenuEntry& entry = model_.entries[static_cast<std::size_t>(index)];
    switch (field) {
    case EntryField::MX: view_.ShowNumber(NumberBox::Left, entry.MX); return;
    case EntryField::MY: view_.ShowNumber(NumberBox::Top, entry.MY); return;
    case EntryField::MW: view_.ShowNumber(NumberBox::Width, entry.MW); return;
    case EntryField::MTCH: view_.ShowNumber(NumberBox::CapHeight, entry.MTCH); return;
    case EntryField::MTC: view_.ShowHtml(HtmlBox::Caption, entry.MTC); return;
    case EntryField::MTM: view_.ShowHtml(HtmlBox::Menu, entry.MTM); return;
    case EntryField::MA: view_.ShowActivateOn(entry.MA); return;
    case EntryField::FL: view_.ShowFloat(entry.FL == 1); return;
    case EntryField::OO: view_.ShowHorizontal(entry.OO == 0); return;
    case EntryField::CC: ShowColour(ColorSlot::Caption, entry.CC); return;
    case EntryField::CM: ShowColour(ColorSlot::Menu, entry.CM); return;
    case EntryField::CO: ShowColour(ColorSlot::Owner, entry.CO); return;
    case EntryField::AN:
    case EntryField::AE: view_.ShowAnchor(entry.AN, entry.AE); return;
    }
}

void EditorLogic::ShowColour(ColorSlot slot, const std::string& value) {
    // An empty colour (a value missing from the file) gives the element no
    // background of its own: it shows as transparent does. The reader lets
    // no other value in that is not "#RRGGBB".
    if (value == "transparent" || !IsHtmlColor(value)) {
        view_.ShowTransparent(slot, true);
        return;
    }
    view_.ShowSwatchColor(slot, HtmlToColor(value));
    view_.ShowTransparent(slot, false);
}

void EditorLogic::SelectFromList() {
    const int line = view_.HighlightedListLine();
    if (line < 0 || !IsEntry(line)) return;
    history_.EndRun();
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
    const int selectionBefore = model_.iSelectedMenu;
    const int index = model_.AddMenuEntry();
    if (index < 0) return false;
    StepRecord step{{}, selectionBefore, index};
    step.actions.emplace_back(EntryPresence{index, nullptr});
    history_.Push(std::move(step));
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
    const int index = ClampInt(model_.iSelectedMenu, 0, model_.numOfMenus() - 1);
    // The entry moves into the step whole; the slot it leaves is what goes.
    auto removed = std::make_unique<MenuEntry>(std::move(model_.entries[static_cast<std::size_t>(index)]));
    model_.RemoveMenuEntry();
    StepRecord step{{}, index, model_.iSelectedMenu};
    step.actions.emplace_back(EntryPresence{index, std::move(removed)});
    history_.Push(std::move(step));
    view_.RemoveLastListLine();
    if (model_.numOfMenus() > 0)
        LoadEntryIntoControls(model_.iSelectedMenu);
    else
        SetEditingEnabled(false);
    view_.UpdatePreview();
}

void EditorLogic::ShowProject() {
    history_.Clear();
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
            history_.EndRun();
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
    case TitleCommand::Kind::None: break;
    }
    return command;
}

void EditorLogic::MoveEntryTo(int index, int x, int y) {
    if (!IsEntry(index)) return;
    MenuEntry& entry = model_.entries[static_cast<std::size_t>(index)];
    // One drag, one step; a click that moved nothing leaves no step.
    StepRecord step{{}, index, index};
    if (entry.MX != x) step.actions.emplace_back(FieldChange{index, EntryField::MX, entry.MX});
    if (entry.MY != y) step.actions.emplace_back(FieldChange{index, EntryField::MY, entry.MY});
    entry.MX = x;
    entry.MY = y;
    if (step.actions.empty()) return;
    history_.Push(std::move(step));
    view_.ProjectChanged();
}

bool EditorLogic::NudgeSelected(int dx, int dy) {
    MenuEntry* entry = SelectedEntry(model_);
    if (!entry) return false;
    const int index = model_.iSelectedMenu;
    const NumberBoxRule& across = RuleOf(NumberBox::Left);
    const NumberBoxRule& down = RuleOf(NumberBox::Top);
    const int x = ClampInt(entry->MX + dx, across.arrowLow, across.arrowHigh);
    const int y = ClampInt(entry->MY + dy, down.arrowLow, down.arrowHigh);
    if (x == entry->MX && y == entry->MY) return false;
    // Both fields go into the run's first step, so that one undo takes the run back.
    const EditRun run{EntryField::MX, index, false, true};
    if (!history_.Joins(run, clock_.Now())) {
        StepRecord step{{}, index, index};
        step.actions.emplace_back(FieldChange{index, EntryField::MX, entry->MX});
        step.actions.emplace_back(FieldChange{index, EntryField::MY, entry->MY});
        history_.Push(std::move(step), &run, clock_.Now());
    }
    entry->MX = x;
    entry->MY = y;
    {
        ControlFillingGuard filling;
        ShowField(index, EntryField::MX);
        ShowField(index, EntryField::MY);
    }
    view_.EntryChanged(index);
    return true;
}

// ---------------------------------------------------------------- property edits

template <class Rule>
bool EditorLogic::EditField(EntryField field, const EditRun* run, Rule&& rule) {
    const MenuEntry* entry = IsFillingControls() ? nullptr : SelectedEntry(model_);
    if (!entry) return rule(); // the rule changes nothing then
    const int index = model_.iSelectedMenu;
    const EditTime now = clock_.Now();
    if (run && history_.Joins(*run, now)) {
        // The step keeps the run's first value; the model has the latest.
        const bool pending = rule();
        history_.Touch(now);
        view_.EntryChanged(index);
        return pending;
    }
    FieldValue before = FieldOf(*entry, field);
    const bool pending = rule();
    if (FieldEquals(*entry, field, before)) return pending;
    view_.EntryChanged(index);
    StepRecord step{{}, index, index, pending};
    step.actions.emplace_back(FieldChange{index, field, std::move(before)});
    history_.Push(std::move(step), run, now);
    return pending;
}

bool EditorLogic::EditNumber(NumberBox box, std::string_view text) {
    // Digits typed into one box make one step, however slowly they come.
    const EditRun run{FieldOfBox(box), model_.iSelectedMenu, false};
    return EditField(run.field, &run, [&] { return didad::EditNumber(model_, box, text); });
}

void EditorLogic::LeaveNumberBox(NumberBox box) {
    history_.EndRun();
    if (IsFillingControls() || !SelectedEntry(model_)) return;
    ControlFillingGuard filling;
    ShowField(model_.iSelectedMenu, FieldOfBox(box));
}

bool EditorLogic::EditActivateOn(int item) {
    return EditField(EntryField::MA, nullptr, [&] { return didad::EditActivateOn(model_, item); });
}

bool EditorLogic::EditFloat(bool checked) {
    return EditField(EntryField::FL, nullptr, [&] { return didad::EditFloat(model_, checked); });
}

bool EditorLogic::EditOrientation(bool horizontalChecked) {
    return EditField(EntryField::OO, nullptr, [&] { return didad::EditOrientation(model_, horizontalChecked); });
}

bool EditorLogic::EditHtml(HtmlBox box, std::string_view boxText) {
    const EditRun run{FieldOfBox(box), model_.iSelectedMenu, true};
    return EditField(run.field, &run, [&] { return didad::EditHtml(model_, box, boxText); });
}

bool EditorLogic::EditColor(ColorSlot slot, Color chosen) {
    return EditField(FieldOfSlot(slot), nullptr, [&] { return didad::EditColor(model_, slot, chosen); });
}

bool EditorLogic::EditTransparent(ColorSlot slot, bool checked, Color swatch) {
    return EditField(FieldOfSlot(slot), nullptr, [&] { return didad::EditTransparent(model_, slot, checked, swatch); });
}

void EditorLogic::SettingsConfirmed(ProjectSettings previous, std::vector<StepAction> more) {
    if (previous == model_.settings && more.empty()) return;
    StepRecord step; // the selection stays where the user is
    if (!(previous == model_.settings))
        step.actions.emplace_back(SettingsChange{std::make_unique<ProjectSettings>(std::move(previous))});
    for (StepAction& action : more) step.actions.push_back(std::move(action));
    history_.Push(std::move(step));
    // A changed anchor shows in the controls of the selected entry.
    if (IsEntry(model_.iSelectedMenu)) LoadEntryIntoControls(model_.iSelectedMenu);
}

// ---------------------------------------------------------------- anchors

void EditorLogic::ChangeAnchor(const Anchor& anchor) {
    if (IsFillingControls() || !SelectedEntry(model_)) return;
    const int index = model_.iSelectedMenu;
    const Anchor before = AnchorOf(*SelectedEntry(model_));
    if (before == anchor) return;
    history_.EndRun();
    const int request = ++anchorRequest_;
    view_.AskPreview(AnchorOriginsStatement({before, anchor}),
                     [this, request, index, before, anchor](const std::string* answer) {
                         // A newer choice, or an undo that changed the entry meanwhile, outdates this one.
                         if (request != anchorRequest_ || !IsEntry(index) ||
                             !(AnchorOf(model_.entries[static_cast<std::size_t>(index)]) == before))
                             return;
                         if (const char* problem = answer ? SelectorProblem(*answer) : nullptr) {
                             view_.ShowSelectorProblem(problem);
                             return;
                         }
                         if (anchor.kind == kAnchorElement) view_.ShowSelectorProblem({});
                         const auto origins = answer ? ParseAnchorOrigins(*answer, 2) : std::nullopt;
                         StepRecord step{{}, index, index};
                         Reanchor(model_, index, anchor, origins ? &(*origins)[0] : nullptr,
                                  origins ? &(*origins)[1] : nullptr, step.actions);
                         if (step.actions.empty()) return;
                         history_.Push(std::move(step));
                         if (index == model_.iSelectedMenu) LoadEntryIntoControls(index);
                         view_.EntryChanged(index);
                         view_.MarkPreviewPending();
                     });
}

void EditorLogic::CheckSelector(const std::string& selector) {
    const int request = ++selectorRequest_;
    view_.AskPreview(SelectorCheckStatement(selector), [this, request](const std::string* answer) {
        if (request != selectorRequest_) return;
        const char* problem = answer ? SelectorProblem(*answer) : nullptr;
        view_.ShowSelectorProblem(problem ? problem : "");
    });
}

void EditorLogic::ChangeAllAnchors(const Anchor& anchor,
                                   std::function<void(std::vector<StepAction>, const std::string&)> done) {
    // One question for every anchor in use, and the new one last.
    std::vector<Anchor> asked;
    std::vector<std::size_t> slotOf;
    for (const MenuEntry& entry : model_.entries) {
        const Anchor own = AnchorOf(entry);
        std::size_t slot = 0;
        while (slot < asked.size() && !(asked[slot] == own)) ++slot;
        if (slot == asked.size()) asked.push_back(own);
        slotOf.push_back(slot);
    }
    asked.push_back(anchor);
    const int count = model_.numOfMenus();
    ++anchorRequest_;
    view_.AskPreview(AnchorOriginsStatement(asked), [this, anchor, asked, slotOf, count,
                                                     done = std::move(done)](const std::string* answer) {
        std::vector<StepAction> actions;
        if (const char* problem = answer ? SelectorProblem(*answer) : nullptr) {
            done(std::move(actions), problem);
            return;
        }
        // The project may not change while the settings dialog waits; if it
        // did, the anchors still change but nothing is moved.
        const auto origins =
            answer && count == model_.numOfMenus() ? ParseAnchorOrigins(*answer, asked.size()) : std::nullopt;
        for (int i = 0; i < model_.numOfMenus(); ++i) {
            const PagePoint* from = origins ? &(*origins)[slotOf[static_cast<std::size_t>(i)]] : nullptr;
            Reanchor(model_, i, anchor, from, origins ? &origins->back() : nullptr, actions);
        }
        done(std::move(actions), {});
    });
}

void EditorLogic::RevertActions(std::vector<StepAction>& actions) {
    for (std::size_t i = actions.size(); i-- > 0;)
        if (auto* change = std::get_if<FieldChange>(&actions[i]); change && IsEntry(change->entry))
            SwapField(model_.entries[static_cast<std::size_t>(change->entry)], change->field, change->other);
    actions.clear();
}

// ---------------------------------------------------------------- undo, redo

bool EditorLogic::Undo() {
    if (!history_.CanUndo()) return false;
    const int lines = model_.numOfMenus();
    ShowStep(history_.Undo(model_), lines);
    return true;
}

bool EditorLogic::Redo() {
    if (!history_.CanRedo()) return false;
    const int lines = model_.numOfMenus();
    ShowStep(history_.Redo(model_), lines);
    return true;
}

void EditorLogic::ShowStep(const StepOutcome& outcome, int linesBefore) {
    bool reshaped = false;
    std::vector<int> changed; // each entry once: a drag's step holds left and top
    if (outcome.actions) {
        for (const StepAction& action : *outcome.actions) {
            const auto* change = std::get_if<FieldChange>(&action);
            if (!change)
                reshaped = true;
            else if (IsEntry(change->entry) &&
                     std::find(changed.begin(), changed.end(), change->entry) == changed.end())
                changed.push_back(change->entry);
        }
    }
    for (int entry : changed) view_.EntryChanged(entry);
    const bool sameEntryShown =
        linesBefore == model_.numOfMenus() && (outcome.selection < 0 || outcome.selection == model_.iSelectedMenu);
    if (sameEntryShown && outcome.actions) {
        // Only the fields that changed are shown again, so the caret and
        // the selection of every other box stay where the user left them.
        ControlFillingGuard filling;
        for (const StepAction& action : *outcome.actions) {
            const auto* change = std::get_if<FieldChange>(&action);
            if (change && change->entry == model_.iSelectedMenu && IsEntry(change->entry))
                ShowField(change->entry, change->field);
        }
    } else {
        ShowChangedProject(outcome.selection, linesBefore);
    }
    if (reshaped) view_.ProjectReshaped();
    if (outcome.marksPreviewPending) view_.MarkPreviewPending();
    view_.ProjectChanged();
}

void EditorLogic::ShowChangedProject(int selection, int linesBefore) {
    // List lines are positional: only the count can have changed.
    for (int line = linesBefore; line < model_.numOfMenus(); ++line) view_.AppendListLine(MenuListLabel(line));
    for (int line = linesBefore; line > model_.numOfMenus(); --line) view_.RemoveLastListLine();
    if (IsEntry(selection)) model_.iSelectedMenu = selection;
    if (model_.numOfMenus() == 0) {
        SetEditingEnabled(false);
        return;
    }
    if (!IsEntry(model_.iSelectedMenu)) model_.iSelectedMenu = model_.numOfMenus() - 1;
    SetEditingEnabled(true);
    LoadEntryIntoControls(model_.iSelectedMenu);
}

CaptionSwapCallback EditorLogic::CaptionSwapHandler() {
    return [this](int index, const std::string& newCaption) { CaptionSwapped(index, newCaption); };
}

void EditorLogic::CaptionSwapped(int index, const std::string& newCaption) {
    // Only the two default captions are ever exchanged, so the old one is the other.
    std::string previous = newCaption == kDefaultCaption ? kVerticalDefaultCaption : kDefaultCaption;
    history_.AttachToLast(FieldChange{index, EntryField::MTC, std::move(previous)});
    if (index != model_.iSelectedMenu) return;
    ControlFillingGuard filling;
    view_.ShowHtml(HtmlBox::Caption, newCaption);
}

} // namespace didad
