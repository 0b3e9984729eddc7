#include "editor/EditHistory.h"

#include <utility>

namespace didad {
namespace {

// Entry is MenuEntry or const MenuEntry.
template <class Entry>
auto IntField(Entry& entry, EntryField field) -> decltype(&entry.MX) {
    switch (field) {
    case EntryField::MTCH: return &entry.MTCH;
    case EntryField::MX: return &entry.MX;
    case EntryField::MY: return &entry.MY;
    case EntryField::MW: return &entry.MW;
    case EntryField::MA: return &entry.MA;
    case EntryField::FL: return &entry.FL;
    case EntryField::OO: return &entry.OO;
    case EntryField::AN: return &entry.AN;
    default: return nullptr;
    }
}

template <class Entry>
auto TextField(Entry& entry, EntryField field) -> decltype((entry.MTC)) {
    switch (field) {
    case EntryField::MTC: return entry.MTC;
    case EntryField::MTM: return entry.MTM;
    case EntryField::CO: return entry.CO;
    case EntryField::CC: return entry.CC;
    case EntryField::AE: return entry.AE;
    default: return entry.CM;
    }
}

MenuEntry& EntryAt(ProjectModel& model, int index) { return model.entries[static_cast<std::size_t>(index)]; }

// Every action is its own inverse: it trades what it holds with the model.
void Toggle(ProjectModel& model, FieldChange& change) {
    if (change.entry < 0 || change.entry >= model.numOfMenus()) return;
    SwapField(EntryAt(model, change.entry), change.field, change.other);
}

void Toggle(ProjectModel& model, EntryPresence& presence) {
    // Only a project changed behind the history's back could miss the place.
    const int limit = model.numOfMenus() - (presence.held ? 0 : 1);
    if (presence.index < 0 || presence.index > limit) return;
    const auto at = model.entries.begin() + presence.index;
    if (presence.held) {
        model.entries.insert(at, std::move(*presence.held));
        presence.held.reset();
    } else {
        presence.held = std::make_unique<MenuEntry>(std::move(*at));
        model.entries.erase(at);
    }
}

void Toggle(ProjectModel& model, SettingsChange& change) { std::swap(model.settings, *change.other); }

void ToggleAction(ProjectModel& model, StepAction& action) {
    std::visit([&model](auto& a) { Toggle(model, a); }, action);
}

} // namespace

FieldValue FieldOf(const MenuEntry& entry, EntryField field) {
    if (const int* number = IntField(entry, field)) return *number;
    return TextField(entry, field);
}

bool FieldEquals(const MenuEntry& entry, EntryField field, const FieldValue& value) {
    if (const int* number = IntField(entry, field)) return std::get<int>(value) == *number;
    return std::get<std::string>(value) == TextField(entry, field);
}

void SwapField(MenuEntry& entry, EntryField field, FieldValue& value) {
    if (int* number = IntField(entry, field))
        std::swap(*number, std::get<int>(value));
    else
        std::swap(TextField(entry, field), std::get<std::string>(value));
}

void EditHistory::Clear() {
    steps_.clear();
    applied_ = 0;
    runOpen_ = false;
}

bool EditHistory::Joins(const EditRun& run, EditTime now) const {
    if (!runOpen_ || applied_ == 0 || applied_ != steps_.size()) return false;
    const Step& last = steps_.back();
    if (!(last.run == run)) return false;
    return !run.endsOnPause || now - last.lastEdit < kTypingPause;
}

void EditHistory::Touch(EditTime now) {
    if (!steps_.empty()) steps_.back().lastEdit = now;
}

void EditHistory::Push(StepRecord record, const EditRun* run, EditTime now) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(applied_), steps_.end());
    steps_.push_back(Step{std::move(record), run ? *run : EditRun{}, now});
    applied_ = steps_.size();
    runOpen_ = run != nullptr;
}

void EditHistory::AttachToLast(StepAction action) {
    if (applied_ == 0) return;
    steps_[applied_ - 1].record.actions.push_back(std::move(action));
}

StepOutcome EditHistory::Undo(ProjectModel& model) {
    runOpen_ = false;
    if (!CanUndo()) return {};
    StepRecord& record = steps_[--applied_].record;
    // Last done, first undone.
    for (std::size_t i = record.actions.size(); i-- > 0;) ToggleAction(model, record.actions[i]);
    return {record.selectionBefore, record.marksPreviewPending, &record.actions};
}

StepOutcome EditHistory::Redo(ProjectModel& model) {
    runOpen_ = false;
    if (!CanRedo()) return {};
    StepRecord& record = steps_[applied_++].record;
    for (StepAction& action : record.actions) ToggleAction(model, action);
    return {record.selectionAfter, record.marksPreviewPending, &record.actions};
}

} // namespace didad
