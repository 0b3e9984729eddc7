#pragma once
// Undo and Redo over the active project. A step keeps only what it changed
// (a field of an entry, one whole entry, the settings) and trades it with the
// model on every undo and redo: the step holds the value the model does not
// hold now, so a change is kept once and an undo costs what the change cost.
#include <chrono>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/ProjectModel.h"

namespace didad {

// The fields of a menu entry, by the names of the script's arrays.
enum class EntryField { MTC, MTCH, MTM, MX, MY, MW, CO, CC, CM, MA, FL, OO, AN, AE };

using FieldValue = std::variant<int, std::string>;

FieldValue FieldOf(const MenuEntry& entry, EntryField field);
bool FieldEquals(const MenuEntry& entry, EntryField field, const FieldValue& value);
// Exchanges the entry's field with `value` (which must hold the field's type).
void SwapField(MenuEntry& entry, EntryField field, FieldValue& value);

using EditTime = std::chrono::steady_clock::time_point;

// Where the pause rule takes its time from; tests step a clock of their own.
class EditClock {
public:
    virtual ~EditClock() = default;
    virtual EditTime Now() const = 0;
};

class SteadyEditClock : public EditClock {
public:
    EditTime Now() const override { return std::chrono::steady_clock::now(); }
};

// A pause in typing this long starts a new step.
inline constexpr std::chrono::milliseconds kTypingPause{1000};

// The run of edits a change may join: one box on one entry. A run of typed
// HTML also ends at a pause; digits typed into a number box never do.
struct EditRun {
    EntryField field = EntryField::MX;
    int entry = -1;
    bool endsOnPause = false;
    bool keyMoves = false; // moves by the keyboard, not a box's own run
    friend bool operator==(const EditRun&, const EditRun&) = default;
};

// One field of one entry; `other` is the value the model does not hold now.
struct FieldChange {
    int entry = 0;
    EntryField field = EntryField::MX;
    FieldValue other;
};

// An entry that a step adds or removes: held here while it is out of the
// project, in the project (and null here) while it is in.
struct EntryPresence {
    int index = 0;
    std::unique_ptr<MenuEntry> held;
};

struct SettingsChange {
    std::unique_ptr<ProjectSettings> other;
};

using StepAction = std::variant<FieldChange, EntryPresence, SettingsChange>;

// What a step is about to become, as the editor hands it over.
struct StepRecord {
    std::vector<StepAction> actions;
    // The selected entry before and after the change; -1 leaves the
    // selection as it is at the time of the undo or redo.
    int selectionBefore = -1;
    int selectionAfter = -1;
    // Whether the change, made by hand, gives Update Preview its pending look.
    bool marksPreviewPending = true;
};

// What an undo or redo did, for the editor to show.
struct StepOutcome {
    int selection = -1; // -1: keep the selection
    bool marksPreviewPending = false;
    // The step's actions, valid until the history changes; null: no step.
    const std::vector<StepAction>* actions = nullptr;
};

class EditHistory {
public:
    bool CanUndo() const { return applied_ > 0; }
    bool CanRedo() const { return applied_ < steps_.size(); }
    std::size_t StepCount() const { return steps_.size(); }
    void Clear();

    // Whether a change to `run` at `now` joins the step made last, which then
    // keeps the run's first value and takes no new record.
    bool Joins(const EditRun& run, EditTime now) const;
    // The change joined the last step; its pause is counted from `now`.
    void Touch(EditTime now);
    // A new step. The redo steps go; `run`, when given, may be joined later.
    void Push(StepRecord record, const EditRun* run = nullptr, EditTime now = {});
    // The current run ends: the user left the box or did something else.
    void EndRun() { runOpen_ = false; }
    // A change that the program made on the way of the last step (the caption
    // exchange of a script write) becomes part of that step. Nothing happens
    // while there is no step to undo.
    void AttachToLast(StepAction action);

    // Both apply to `model`; nothing when there is nothing to undo or redo.
    StepOutcome Undo(ProjectModel& model);
    StepOutcome Redo(ProjectModel& model);

private:
    struct Step {
        StepRecord record;
        EditRun run;
        EditTime lastEdit{};
    };

    std::vector<Step> steps_;
    std::size_t applied_ = 0; // steps_[0, applied_) are done, the rest undone
    bool runOpen_ = false;
};

} // namespace didad
